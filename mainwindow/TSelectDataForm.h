#pragma once
#include "platform/Form.h"

class TSelectDataForm : public FormBase {
public:
    TSelectDataForm() : FormBase("TSelectDataForm") { SetCaption("実施大会選択"); }
};
