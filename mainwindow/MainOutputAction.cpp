// The result action: dummy values for absent teams, the leg and class choice, then
// the result window computes and shows the results.
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

// The chooser in one mode over the given items; true on OK.
bool choose(int mode, const std::vector<std::string>& items) {
    TKukanParamForm& dlg = *KukanParamForm;
    dlg.Mode = mode;
    dlg.KukanListBox.SetSorted(false);
    dlg.KukanListBox.Clear();
    for (const std::string& item : items)
        dlg.KukanListBox.Add(item);
    dlg.FormShow();
    return Dlg().ShowModal(dlg) == mrOk;
}

std::vector<std::string> legItems(int legs) {
    std::vector<std::string> items{"全区間成績"};
    for (int k = 1; k <= legs; ++k)
        items.push_back(Format("第 %d 区成績", k));
    return items;
}

// A class beyond the ASCII letters lists up to 'Z': the filter holds one byte.
std::vector<std::string> classItems(const std::string& maxClass) {
    const unsigned char top = static_cast<unsigned char>(maxClass[0]);
    const char last = top < 0x80 ? static_cast<char>(top) : 'Z';
    std::vector<std::string> items{"全クラス"};
    for (char c = 'A'; c <= last; ++c)
        items.push_back(Format("%c クラスのみ", c));
    return items;
}

} // namespace

void TMainForm::wireOutputHandlers() {
    OutputResult.OnExecute = [this] { OutputResultExecute(); };
    ArrangeRunner.OnExecute = [this] { ArrangeRunnerExecute(); };
    SwapTmRunnr.OnExecute = [this] { SwapTmRunnrExecute(); };
    SetOrder.OnExecute = [this] { ArrangeRunner.Execute(); };
    SwapTeamRunner.OnExecute = [this] { SwapTmRunnr.Execute(); };
    denkoStartList.OnExecute = [this] { denkoStartListExecute(); };
}

void TMainForm::OutputResultExecute() {
    if (AbsentTeamRowsEmpty()) {
        const int answer = Dlg().MessageDlg("欠場ﾁｰﾑのﾀﾞﾐｰ値が付加されていません。\nここで付加しますか？",
                                            MsgKind::Confirmation, Btn::YesNoCancel);
        if (answer == mrCancel) return;
        if (answer == mrYes) FillAbsentTeamRows();
    }
    // A road that stops before the results are shown again leaves the open result
    // window's view as it was built (its leg, its filter, its restart mark).
    const std::string viewFilter = GetClassFilter();
    const int viewLeg = OutputForm->Tag;
    const bool viewRestart = OutputForm->RestartCorrected;
    auto keepView = [&] {
        if (!OutputForm->Visible()) return;
        SetClassFilter(viewFilter);
        OutputForm->Tag = viewLeg;
        OutputForm->RestartCorrected = viewRestart;
    };
    SetClassFilter("");
    if (FormKuriage->Visible()) {
        Dlg().ShowMessage("繰上フォームが開いています。\n閉じてからこの処理を実行して下さい");
        keepView();
        return;
    }
    OutputForm->RestartCorrected = false;
    if (!choose(TKukanParamForm::ModeLeg, legItems(KukanNum))) {
        keepView();
        return;
    }
    const std::string maxClass = Trim(MaxClassLetter());
    if (OutputForm->Tag == 0 && !maxClass.empty()) {
        if (!choose(TKukanParamForm::ModeClass, classItems(maxClass))) {
            keepView();
            return;
        }
    } else {
        SetClassFilter("");
    }
    OutputForm->ShowResults();
}
