// The team tab's CSV entry and packing buttons: opening the CSV entry window, reading
// a CSV file into its grid, and making the runner and team tables match the team count.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "mainwindow/CsvGrid.h"
#include "mainwindow/Program.h"
#include "mainwindow/TCSVEntry.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

namespace {

// Each column as wide as its longest text, within bounds, so names can be read whole.
void fitColumnsToTexts(StringGrid& g) {
    for (int c = 0; c < g.ColCount(); ++c) {
        std::string sample = "XXXX";
        for (int r = 0; r < g.RowCount(); ++r)
            if (SjisLength(g.Cells(c, r)) > SjisLength(sample)) sample = g.Cells(c, r);
        g.SetColSample(c, CutSjis(sample, 24) + "X");
    }
}

} // namespace

void TMainForm::wireCsvEntryHandlers() {
    SpeedButtonOpenCSV.OnExecute = [this] { SpeedButtonOpenCSVClick(); };
    SpeedButtonPackEntry.OnExecute = [this] { SpeedButtonPackEntryClick(); };
    openCSVForm.OnExecute = [this] { openCSVFormExecute(); };
}

void TMainForm::SpeedButtonOpenCSVClick() {
    CSVEntry->FormShow();
    Dlg().ShowModal(*CSVEntry);
}

void TMainForm::openCSVFormExecute() {
    // Names go into existing runner records only: every team needs its records first.
    // Packing deletes the runners of teams above the count, so the desk is asked; No
    // leaves the entries as they are and opens nothing.
    if (TaikaiOpen && RunnerTeamCount() != TeamNum && !packEntriesAsked()) return;
    FileDialogRequest dialogSpec;
    dialogSpec.Filter = "CSV|*.csv|TXT|*.txt|*.*|*.*";
    dialogSpec.InitialDir = exCsvFilePath;
    dialogSpec.DefaultExt = "csv";
    const auto path = Dlg().OpenFile(dialogSpec);
    if (!path) return;
    if (!LoadCsvToGrid(CSVEntry->StringGrid1, *path)) {
        Dlg().ShowMessage("CSVファイルが開けませんでした。");
        return;
    }
    fitColumnsToTexts(CSVEntry->StringGrid1);
}

void TMainForm::SpeedButtonPackEntryClick() { packEntriesAsked(); }

bool TMainForm::packEntriesAsked() {
    if (Dlg().MessageDlg("エントリー情報を整理しますか?", MsgKind::Confirmation, Btn::YesNo) != mrYes) return false;
    PackEntries();
    Dlg().ShowMessage("エントリー情報を整理しましました。");
    return true;
}

void TMainForm::PackEntries() {
    if (!TaikaiOpen || TaikaiNo < 1 || DataFolder.empty()) return;
    WaitCursor wait(Dlg());
    Transaction tx(RaceDb());
    for (int team = 1; team <= TeamNum; ++team)
        EnsureTeamRunnerRecords(team);
    for (int team = TeamNum + 1; team <= kMaxTeams + 1; ++team)
        DeleteTeamRunners(team);
    PurgeTeamsAboveCount();
    tx.Commit();
}
