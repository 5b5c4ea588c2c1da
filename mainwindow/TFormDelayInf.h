#pragma once
#include "platform/Form.h"

class TFormDelayInf : public FormBase {
public:
    TFormDelayInf() : FormBase("TFormDelayInf") { SetCaption("待機情報"); }
};
