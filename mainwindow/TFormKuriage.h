#pragma once
#include "platform/Form.h"

class TFormKuriage : public FormBase {
public:
    TFormKuriage() : FormBase("TFormKuriage") { SetCaption("繰上/再出発"); }
};
