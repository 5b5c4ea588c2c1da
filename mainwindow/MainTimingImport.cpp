// Passings from a timing system's CSV file into the split grid: read once ("ｼﾝｸﾞﾙCSV取込")
// or polled while the race runs (automatic import of the chosen "000.csv"), keeping only
// the passings that end a leg, optionally handed on to the input grid at once.
// The file goes into its own buffer grid: the CSV entry window's grid stays the user's.
#include "mainwindow/CsvGrid.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <functional>

namespace {

// Fields of a timing line, counted from 0; the first line is the file's header.
constexpr int kNumberField = 2, kTimeField = 3, kPointField = 4;
constexpr int kSplitNumberCol = 1, kSplitTimeCol = 2;
constexpr int kMaxSingleNumber = 998;

struct TimingLine {
    int number; // -1 when not a number
    int time;   // 0 when not a number
    int point;  // 0 when missing
};

TimingLine timingLine(const StringGrid& g, int row) {
    return {StrToIntDef(g.Cells(kNumberField, row), -1), StrToIntDef(g.Cells(kTimeField, row), 0),
            StrToIntDef(g.Cells(kPointField, row), 0)};
}

struct Packed {
    int taken = 0;
    int overflow = 0; // kept lines that found no row
};

// The kept lines of the loaded file into the split grid from its first data row, which
// was emptied before.
Packed packIntoSplitGrid(const StringGrid& loaded, StringGrid& split,
                         const std::function<bool(const TimingLine&)>& keep) {
    Packed p;
    const int first = split.FixedRows();
    for (int r = 1; r < loaded.RowCount(); ++r) {
        const TimingLine line = timingLine(loaded, r);
        if (line.time < 1 || !keep(line)) continue;
        const int row = first + p.taken;
        if (row >= split.RowCount()) {
            ++p.overflow;
            continue;
        }
        split.SetCells(kSplitNumberCol, row, IntToStr(line.number));
        split.SetCells(kSplitTimeCol, row, IntToStr(line.time));
        ++p.taken;
    }
    if (p.overflow > 0) Dlg().ShowMessage(Format("%d 行はｽﾘｯﾄｸﾞﾘｯﾄﾞに入りませんでした。", p.overflow));
    return p;
}

// The file the desk named, or its absence told.
bool timingFileThere(const std::string& path) {
    if (FileExists(path)) return true;
    Dlg().ShowMessage(path + " は存在しません。");
    return false;
}

} // namespace

void TMainForm::wireTimingImport() {
    OpenSingleCSV.OnExecute = [this] { OpenSingleCSVExecute(); };
    ActionOpenAllCSV.OnExecute = [this] { ActionOpenAllCSVExecute(); };
    ActionSetAllCSV.OnExecute = [this] { ActionSetAllCSVExecute(); };
    ActionGetDeamon.OnExecute = [this] { ActionGetDeamonExecute(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    ProgressBar1.SetVisible(false);
}

void TMainForm::OpenSingleCSVExecute() {
    FileDialogRequest OpenDialog2;
    OpenDialog2.Filter = "CSV|*.csv|TXT|*.txt";
    const auto path = Dlg().OpenFile(OpenDialog2);
    if (!path) return;
    if (!LoadCsvToGrid(TimingCsvGrid, *path)) return Dlg().ShowMessage("CSVファイルが開けませんでした。");
    ClearGridData(tempKukanGrid, -1);
    CopyCsvGridToSplitGrid();
}

void TMainForm::CopyCsvGridToSplitGrid() {
    packIntoSplitGrid(TimingCsvGrid, tempKukanGrid,
                      [](const TimingLine& l) { return l.number >= 1 && l.number <= kMaxSingleNumber; });
}

bool TMainForm::IsLegEndSplitPoint(int n) const {
    bool anyCount = false;
    for (int k = 1; k <= KukanNum; ++k) {
        const int count = StrToIntDef(KukanInfGrid.Cells(4, k), 0);
        if (count > 0 && count == n) return true;
        anyCount = anyCount || count > 0;
    }
    return !anyCount && n >= 1 && n <= KukanNum;
}

bool TMainForm::LoadAutoImportFile() {
    if (!LoadCsvToGrid(TimingCsvGrid, FromPath)) return false;
    ClearGridData(tempKukanGrid, -1);
    const TeamNumberTable teams(*this);
    auto endsLeg = [&](const TimingLine& l) {
        return IsLegEndSplitPoint(l.point) && teams.Find(l.number) >= 1;
    };
    const Packed packed = packIntoSplitGrid(TimingCsvGrid, tempKukanGrid, endsLeg);
    RefreshSplitGridLegs(tempKukanGrid, true);
    // A grid cut short would put passings into the wrong rows: nothing goes on from it.
    if (packed.overflow > 0) return false;
    // Nothing to hand on: the transfer would only complain about an empty grid.
    if (AutoTransferNoAsk && packed.taken > 0) Slit2InpGridExecute();
    return true;
}

void TMainForm::ActionOpenAllCSVExecute() {
    FileDialogRequest OpenDialog3;
    OpenDialog3.Filter = "000.csv|000.csv";
    if (FileExists(FromPath)) {
        OpenDialog3.FileName = FromPath;
        OpenDialog3.InitialDir = std::filesystem::path(FromPath).parent_path().string();
    }
    const auto path = Dlg().OpenFile(OpenDialog3);
    if (!path) return;
    Edit1.SetText(*path);
    FromPath = *path;
}

void TMainForm::Edit1KeyDown(char32_t& key) {
    if (key != Key::Enter) return;
    if (timingFileThere(Edit1.Text())) {
        FromPath = Edit1.Text();
        return;
    }
    Edit1.SetText("");
    FromPath.clear();
}

void TMainForm::ActionSetAllCSVExecute() {
    AutoImportOn = timingFileThere(Edit1.Text()) && !AutoImportOn;
    ActionSetAllCSV.SetChecked(AutoImportOn);
    Edit1.SetEnabled(!AutoImportOn);
    ProgressBar1.SetPosition(0);
    ProgressBar1.SetVisible(AutoImportOn);
    if (!AutoImportOn) return;
    FromPath = Edit1.Text();
    // The file as read now is the file the ticks compare against.
    AutoImportSize = FileSizeOf(FromPath);
    LoadAutoImportFile();
}

void TMainForm::ActionGetDeamonExecute() {
    AutoTransferNoAsk = !AutoTransferNoAsk;
    ActionGetDeamon.SetChecked(AutoTransferNoAsk);
}

// A tick only looks at the file's size and reads it when that changed; it asks nothing,
// and under a dialog or another window it does nothing at all.
void TMainForm::Timer1Timer() {
    if (!SlitGridPanel.Visible() || !AutoImportOn || !MainWindowActive || !FileExists(FromPath)) return;
    Timer1.SetEnabled(false);
    const long long size = FileSizeOf(FromPath);
    if (size != AutoImportSize) {
        // Recorded first: a file that cannot be read is reported once per change.
        AutoImportSize = size;
        LoadAutoImportFile();
    }
    Timer1.SetEnabled(true);
    const int next = ProgressBar1.Position() + 5;
    ProgressBar1.SetPosition(next >= ProgressBar1.Max() ? 0 : next);
}
