#pragma once
#include "platform/Form.h"

class TOKRightDlg : public FormBase {
public:
    TOKRightDlg() : FormBase("TOKRightDlg") { SetCaption("個人成績出力ｵﾌﾟｼｮﾝ"); }
};
