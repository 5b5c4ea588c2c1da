#pragma once
#include "platform/Form.h"

class TSwapTmRunForm : public FormBase {
public:
    TSwapTmRunForm() : FormBase("TSwapTmRunForm") { SetCaption("選手交換"); }
};
