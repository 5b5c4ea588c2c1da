#pragma once
#include "platform/Form.h"

class TCSVEntry : public FormBase {
public:
    TCSVEntry() : FormBase("TCSVEntry") { SetCaption("CSVエントリー"); }
};
