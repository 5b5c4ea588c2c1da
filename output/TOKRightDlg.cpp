#include "output/TOKRightDlg.h"

TOKRightDlg::TOKRightDlg() : FormBase("TOKRightDlg") {
    SetCaption("個人成績出力ｵﾌﾟｼｮﾝ");
    OKBtn.OnExecute = [this] { OKBtnClick(); };
    NoBtn.OnExecute = [this] { NoBtnClick(); };
}
