#pragma once
#include "platform/Form.h"

class TcurrTaikaiDir : public FormBase {
public:
    TcurrTaikaiDir() : FormBase("TcurrTaikaiDir") { SetCaption("既存の大会情報フォルダー"); }
};
