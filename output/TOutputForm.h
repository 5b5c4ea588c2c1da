#pragma once
#include "platform/Form.h"

class TOutputForm : public FormBase {
public:
    TOutputForm() : FormBase("TOutputForm") { SetCaption("結果出力"); }
};
