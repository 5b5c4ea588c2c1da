#pragma once
#include "platform/Form.h"

class TFormEnv : public FormBase {
public:
    TFormEnv() : FormBase("TFormEnv") { SetCaption("環境設定"); }
};
