#pragma once
#include "platform/Form.h"

class TQuickReport4 : public FormBase {
public:
    TQuickReport4() : FormBase("TQuickReport4") { SetCaption("オーダー用紙"); }
};
