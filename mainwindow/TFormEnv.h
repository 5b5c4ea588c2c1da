#pragma once
// The program settings window: where and under which name the scoreboard text goes,
// the print macro workbook, the help address and five switches. It edits the main
// window's members; they reach the program INI file at the next confirmed close.
#include "platform/Controls.h"
#include "platform/Form.h"

class TFormEnv : public FormBase {
  public:
    TFormEnv();

    PageControl PageControl1{"PageControl1", {"ｵﾌﾟｼｮﾝ"}};
    Label Label1{"Label1"};
    Edit EditLogFilePath{"EditLogFilePath"};
    Action bGetPath{"bGetPath", "参照"};
    Label Label2{"Label2"};
    Edit DenkoFileName{"DenkoFileName"};
    CheckBox CheckDenkoOpt{"CheckDenkoOpt"};
    CheckBox CheckFurigana{"CheckFurigana"};
    Label Label3{"Label3"};
    Edit EMacroFileName{"EMacroFileName"};
    Label Label4{"Label4"};
    Edit EHelpURL{"EHelpURL"};
    CheckBox CheckAutoClose{"CheckAutoClose"};
    CheckBox CheckChgPrt{"CheckChgPrt"};
    CheckBox CheckOleFont{"CheckOleFont"};
    Action OKBtn{"OKBtn", "OK"};
    // Something was edited since the window was shown. Hides the base's signal of the
    // same name, which the Qt side reaches through FormBase& (the caption).
    bool Changed = false;

    void FormShow();
    void EditLogFilePathChange();
    void bGetPathClick();
    // Takes the edits back into the main window when something was edited.
    void FormClose();
    // Every way of closing (OK, Escape, the close box) ends here.
    void CloseWindow();
};
