#pragma once
#include "platform/Form.h"

class TFormClockInput : public FormBase {
public:
    TFormClockInput() : FormBase("TFormClockInput") { SetCaption("起→通過タイム変換"); }
};
