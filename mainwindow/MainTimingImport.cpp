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
#include <optional>
#include <unordered_set>

namespace {

// Fields of a timing line, counted from 0; the first line is the file's header.
constexpr int kNumberField = 2, kTimeField = 3, kPointField = 4;
constexpr int kSplitNumberCol = 1, kSplitTimeCol = 2;
constexpr int kMaxSingleNumber = 998;

struct TimingLine {
    int number; // -1 when not a number
    int time;   // 0 when not a number
    int point;  // -1 when not a number or missing
};

TimingLine timingLine(const StringGrid& g, int row) {
    return {StrToIntDef(g.Cells(kNumberField, row), -1), StrToIntDef(g.Cells(kTimeField, row), 0),
            StrToIntDef(g.Cells(kPointField, row), -1)};
}

// What becomes of a line. Pass: no passing to take and nothing to tell (a point that
// ends no leg).
enum class Verdict { Take, Pass, Bad, Unknown, Repeat };

// A time the input grid's time cells cannot hold, or none at all.
bool badTime(int time, int limit) {
    int digits = 0;
    for (int t = time; t > 0; t /= 10)
        ++digits;
    return time < 1 || digits > limit;
}

bool lineEmpty(const StringGrid& g, int row) {
    for (int c = 0; c < g.ColCount(); ++c)
        if (!g.Cells(c, row).empty()) return false;
    return true;
}

// The line's fields joined again, as the desk finds it in the file.
std::string lineText(const StringGrid& g, int row) {
    int last = g.ColCount() - 1;
    while (last > 0 && g.Cells(last, row).empty())
        --last;
    std::string text;
    for (int c = 0; c <= last; ++c)
        text += (c > 0 ? "," : "") + g.Cells(c, row);
    return text;
}

// The lines an import left out, counted by why.
struct LeftOut {
    int bad = 0, unknown = 0, repeats = 0, overflow = 0;
    int lastRow = 0; // the loaded grid's row of the last one

    void Count(Verdict v, int row) {
        ++(v == Verdict::Bad ? bad : v == Verdict::Unknown ? unknown : v == Verdict::Repeat ? repeats : overflow);
        lastRow = row;
    }
    // Empty when nothing was left out.
    std::string Text(const StringGrid& loaded) const {
        std::string text;
        auto count = [&text](int n, const char* what) {
            if (n > 0) text += (text.empty() ? "" : "、") + Format("%s %d 行", what, n);
        };
        count(repeats, "重複");
        count(unknown, "チームにないNo.");
        count(bad, "読めない行");
        if (!text.empty()) text += "を除きました。";
        if (overflow > 0) text += Format("%d 行はｽﾘｯﾄｸﾞﾘｯﾄﾞに入りませんでした。", overflow);
        if (text.empty()) return text;
        return text + Format(" 最後: %d 行目「", lastRow + 1) + lineText(loaded, lastRow) + "」";
    }
};

struct Packed {
    int taken = 0;
    LeftOut left;
};

// The lines the judge takes into the split grid from its first data row, which was
// emptied before; those beyond its rows are left out, not cut off the import.
Packed packIntoSplitGrid(const StringGrid& loaded, StringGrid& split,
                         const std::function<Verdict(const TimingLine&)>& judge) {
    Packed p;
    const int first = split.FixedRows();
    for (int r = 1; r < loaded.RowCount(); ++r) {
        if (lineEmpty(loaded, r)) continue;
        const TimingLine line = timingLine(loaded, r);
        const Verdict v = judge(line);
        if (v == Verdict::Pass) continue;
        const int row = first + p.taken;
        if (v != Verdict::Take || row >= split.RowCount()) {
            p.left.Count(v, r);
            continue;
        }
        split.SetCells(kSplitNumberCol, row, IntToStr(line.number));
        split.SetCells(kSplitTimeCol, row, IntToStr(line.time));
        ++p.taken;
    }
    return p;
}

// Cuts a last line that has no line end yet: the timing system may be writing it.
bool cutTornLine(std::string& text) {
    if (text.empty() || text.back() == '\n' || text.back() == '\r') return false;
    const size_t end = text.find_last_of('\n');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return true;
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
    InputGrid.Changed.connect([this] { runHeldTransfer(); }); // the editor may have closed
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

// The desk started this import: what it left out is told once, in a box.
void TMainForm::CopyCsvGridToSplitGrid() {
    const int limit = timeCodeLimit(InputGrid);
    auto judge = [limit](const TimingLine& l) {
        if (l.number == -1 || badTime(l.time, limit)) return Verdict::Bad;
        return l.number >= 1 && l.number <= kMaxSingleNumber ? Verdict::Take : Verdict::Unknown;
    };
    const std::string left = packIntoSplitGrid(TimingCsvGrid, tempKukanGrid, judge).left.Text(TimingCsvGrid);
    LabelAutoImport.SetCaption(left);
    AutoTransferHeld = false; // what was held is gone from the split grid
    if (!left.empty()) Dlg().ShowMessage(left);
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

bool TMainForm::LoadAutoImportFile(bool takeTornLine) {
    std::optional<std::string> text = ReadImportText(FromPath);
    AutoImportTornLine = text && !takeTornLine && cutTornLine(*text);
    if (!text) {
        LabelAutoImport.SetCaption("CSVファイルが開けませんでした。");
        return false;
    }
    LoadCsvTextToGrid(TimingCsvGrid, *text);
    ClearGridData(tempKukanGrid, -1);
    const TeamNumberTable teams(*this);
    const int limit = timeCodeLimit(InputGrid);
    // A team passes a split point once: a repeated line would shift its later legs.
    std::unordered_set<long long> passed;
    auto judge = [&](const TimingLine& l) {
        if (l.number == -1 || l.point == -1) return Verdict::Bad;
        if (!IsLegEndSplitPoint(l.point)) return Verdict::Pass;
        if (badTime(l.time, limit)) return Verdict::Bad;
        const int team = teams.Find(l.number);
        if (team < 1) return Verdict::Unknown;
        const bool first = passed.insert(static_cast<long long>(team) << 32 | static_cast<unsigned>(l.point)).second;
        return first ? Verdict::Take : Verdict::Repeat;
    };
    const Packed packed = packIntoSplitGrid(TimingCsvGrid, tempKukanGrid, judge);
    RefreshSplitGridLegs(tempKukanGrid, true);
    LabelAutoImport.SetCaption(packed.left.Text(TimingCsvGrid));
    // Nothing to hand on: the transfer would only complain about an empty grid.
    AutoTransferHeld = AutoTransferNoAsk && packed.taken > 0;
    runHeldTransfer();
    return true;
}

// The desk's typing wins: a transfer never writes under an open editor of the input
// grid; it waits for the editor to close.
void TMainForm::runHeldTransfer() {
    if (!AutoTransferHeld || InputGrid.EditorOpen()) return;
    AutoTransferHeld = false;
    Slit2InpGridExecute();
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
    AutoTransferHeld = false; // switched off, or a fresh reading follows
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
    AutoTransferHeld = false; // a held transfer would now ask
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
    } else if (AutoImportTornLine) {
        // Not grown since the last look: the last line is as whole as it gets.
        LoadAutoImportFile(true);
    }
    runHeldTransfer();
    Timer1.SetEnabled(true);
    const int next = ProgressBar1.Position() + 5;
    ProgressBar1.SetPosition(next >= ProgressBar1.Max() ? 0 : next);
}
