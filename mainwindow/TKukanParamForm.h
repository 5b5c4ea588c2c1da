#pragma once
#include "platform/Form.h"

class TKukanParamForm : public FormBase {
public:
    TKukanParamForm() : FormBase("TKukanParamForm") { SetCaption("区間選択"); }
};
