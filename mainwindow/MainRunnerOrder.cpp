// The running order of the shown team and the exchange of runners between two
// teams. Both move runner records to other keys and never re-insert them, so every
// field of a runner goes with it.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RunnerKeys.h"
#include "mainwindow/Program.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSwapTmRunForm.h"
#include "platform/Services.h"

#include <vector>

namespace {

// Runners with a leg go to that leg's slot; the others become the substitutes in
// their former order. Slot 0 (the manager) stays.
std::vector<RunnerKeyMove> orderMoves(int team, int legs, const std::vector<int>& legOf) {
    std::vector<RunnerKeyMove> moves;
    int substitute = legs;
    for (size_t i = 0; i < legOf.size(); ++i) {
        const int slot = static_cast<int>(i) + 1;
        const int target = legOf[i] > 0 ? legOf[i] : ++substitute;
        moves.push_back({RunnerKey(team, slot), RunnerKey(team, target)});
    }
    return moves;
}

bool raceInUse(const TMainForm& f) {
    return f.TaikaiOpen && f.TaikaiNo >= 1 && !f.DataFolder.empty();
}

} // namespace

void TMainForm::ArrangeRunnerExecute() {
    if (!raceInUse(*this) || CurrTeamNo < 1) return;
    SetImeMode(ImeMode::Close);
    TKukanParamForm& dlg = *KukanParamForm;
    dlg.Mode = RadioClickEntry.Checked() ? TKukanParamForm::ModeClick : TKukanParamForm::ModeTenkey;
    dlg.KukanListBox.SetSorted(false);
    dlg.KukanListBox.Clear();
    for (int i = 0; i < KukanNum + HoketuNum; ++i)
        dlg.KukanListBox.Add(RunnerListText(i, true));
    dlg.FormShow();
    const bool ok = Dlg().ShowModal(dlg) == mrOk && dlg.OrderComplete();
    const std::vector<RunnerKeyMove> moves =
        ok ? orderMoves(CurrTeamNo, KukanNum, dlg.OrderOf) : std::vector<RunnerKeyMove>{};
    dlg.FreeOrder();
    if (!ok) return;
    SaveRunnerRows();
    OpenRunnerTable();
    RekeyRunnerRecords(RaceDb(), RunnerTableName(TaikaiNo), moves);
    MarkInputsChanged();
    LoadRunnersToGrid();
}

void TMainForm::SwapTmRunnrExecute() {
    if (!raceInUse(*this) || MarkedRowA < 1 || MarkedRowB < 1) return;
    // The shown team's runners are stored first and read back afterwards, so a later
    // save of the runner grid cannot write the exchanged runners back.
    if (RunnerEntryGrid.Modified()) SaveRunnerRows();
    TSwapTmRunForm& dlg = *SwapTmRunForm;
    dlg.ResetSelection[TSwapTmRunForm::SideA] = dlg.ResetSelection[TSwapTmRunForm::SideB] = true;
    dlg.FillSwapLists();
    dlg.FormShow();
    Dlg().ShowModal(dlg);
    if (CurrTeamNo >= 1) LoadRunnersToGrid();
}

int TMainForm::SwapRunnerRecords(int teamA, int slotA, int slotB, int teamB) {
    const int ka = RunnerKey(teamA, slotA), kb = RunnerKey(teamB, slotB);
    if (ka == kb) return 0;
    OpenRunnerTable();
    if (!ReadRunnerRecord(ka) || !ReadRunnerRecord(kb)) {
        Dlg().ShowMessage("テーブルが存在しません");
        return 1;
    }
    RekeyRunnerRecords(RaceDb(), RunnerTableName(TaikaiNo), {{ka, kb}, {kb, ka}});
    MarkInputsChanged();
    return 0;
}
