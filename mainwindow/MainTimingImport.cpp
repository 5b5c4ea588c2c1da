// Passings from a timing system's CSV file into the split grid: read once ("ｼﾝｸﾞﾙCSV取込")
// or polled while the race runs (automatic import of the chosen "000.csv"), keeping only
// the passings that end a leg, optionally handed on to the input grid at once.
// The file goes into its own buffer grid: the CSV entry window's grid stays the user's.
// The polled file is one stream: it only grows. One that shrank or changed what was read
// of it was replaced, and the import holds until the desk starts it again; what holds it
// is told beside the progress bar.
#include "mainwindow/CsvGrid.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "mainwindow/TimingLegs.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <functional>
#include <new>
#include <optional>

namespace {

// Fields of a timing line, counted from 0; the first line is the file's header.
constexpr int kNumberField = 2, kTimeField = 3, kPointField = 4;
constexpr int kSplitNumberCol = 1, kSplitTimeCol = 2;
constexpr int kMaxSingleNumber = 998;
constexpr size_t kShownLineChars = 60;

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

// A line's verdict, and for a passing taken the leg the import gives it ("" when the
// split grid works it out, "4Err" for a team's passing beyond the legs of its point).
struct Judged {
    Verdict Is;
    std::string Leg;
};

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

// The line's fields joined again, as the desk finds it in the file; a long one is cut.
std::string lineText(const StringGrid& g, int row) {
    int last = g.ColCount() - 1;
    while (last > 0 && g.Cells(last, row).empty())
        --last;
    std::string text;
    for (int c = 0; c <= last && text.size() < 4 * kShownLineChars; ++c)
        text += (c > 0 ? "," : "") + g.Cells(c, row);
    const std::u32string chars = ToU32(text);
    return chars.size() <= kShownLineChars ? text : FromU32(chars.substr(0, kShownLineChars)) + "…";
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
    std::vector<TMainForm::ImportedSplitRow> rows;
    LeftOut left;
};

// The lines the judge takes into the split grid from its first data row, which was
// emptied before; those beyond its rows are left out, not cut off the import.
Packed packIntoSplitGrid(const StringGrid& loaded, StringGrid& split,
                         const std::function<Judged(const TimingLine&)>& judge) {
    Packed p;
    const int first = split.FixedRows();
    for (int r = 1; r < loaded.RowCount(); ++r) {
        if (lineEmpty(loaded, r)) continue;
        const TimingLine line = timingLine(loaded, r);
        const Judged j = judge(line);
        if (j.Is == Verdict::Pass) continue;
        const int row = first + static_cast<int>(p.rows.size());
        if (j.Is != Verdict::Take || row >= split.RowCount()) {
            p.left.Count(j.Is, r);
            continue;
        }
        p.rows.push_back({IntToStr(line.number), IntToStr(line.time), j.Leg});
        split.SetCells(kSplitNumberCol, row, p.rows.back().Number);
        split.SetCells(kSplitTimeCol, row, p.rows.back().Time);
    }
    return p;
}

// Cuts a last line that has no line end yet: the timing system may be writing it.
bool cutTornLine(std::string& text) {
    if (text.empty() || text.back() == '\n' || text.back() == '\r') return false;
    const size_t end = text.find_last_of("\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return true;
}

// The file the desk named, or its absence told.
bool timingFileThere(const std::string& path) {
    if (FileExists(path)) return true;
    Dlg().ShowMessage(path + " は存在しません。");
    return false;
}

// The point that ends each leg, from the split counts or the file's points.
std::vector<int> legEndsOf(const TMainForm& f, const StringGrid& loaded) {
    std::vector<int> counts(f.KukanNum + 1, 0), points;
    for (int k = 1; k <= f.KukanNum; ++k)
        counts[k] = StrToIntDef(f.KukanInfGrid.Cells(4, k), 0);
    for (int r = 1; r < loaded.RowCount(); ++r)
        points.push_back(timingLine(loaded, r).point);
    return TimingLegs::LegEnds(counts, points);
}

// The polled file's lines judged: a point names the leg it ends, or, where one point
// ends every leg, the team's passings there are its legs in turn.
std::function<Judged(const TimingLine&)> legJudge(TeamNumberTable teams, int limit, TimingLegs& legs) {
    return [teams = std::move(teams), limit, &legs](const TimingLine& l) -> Judged {
        if (l.number == -1 || l.point == -1) return {Verdict::Bad, {}};
        if (!legs.EndsALeg(l.point)) return {Verdict::Pass, {}};
        if (badTime(l.time, limit)) return {Verdict::Bad, {}};
        const int team = teams.Find(l.number);
        if (team < 1) return {Verdict::Unknown, {}};
        const TimingLegs::Passing p = legs.Take(team, l.point, l.time);
        if (p.Is == TimingLegs::Kind::Repeat) return {Verdict::Repeat, {}};
        return {Verdict::Take, p.Is == TimingLegs::Kind::Leg ? IntToStr(p.Leg) : IntToStr(p.Count) + "Err"};
    };
}

// The timer is on again however the tick ends: the polling never stops on a failure.
class TimerPause {
  public:
    explicit TimerPause(Timer& t) : t_(t) { t_.SetEnabled(false); }
    ~TimerPause() { t_.SetEnabled(true); }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

  private:
    Timer& t_;
};

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
    auto judge = [limit](const TimingLine& l) -> Judged {
        if (l.number == -1 || badTime(l.time, limit)) return {Verdict::Bad, {}};
        return {l.number >= 1 && l.number <= kMaxSingleNumber ? Verdict::Take : Verdict::Unknown, {}};
    };
    SplitImportRows.clear(); // these rows get their legs from the split grid
    AutoImportReport = packIntoSplitGrid(TimingCsvGrid, tempKukanGrid, judge).left.Text(TimingCsvGrid);
    AutoTransferReport.clear();
    AutoTransferHeld = false; // what was held is gone from the split grid
    showAutoImportState();
    if (!AutoImportReport.empty()) Dlg().ShowMessage(AutoImportReport);
}

bool TMainForm::LoadAutoImportFile(bool takeTornLine) {
    return loadTimingFile(takeTornLine, false);
}

bool TMainForm::loadTimingFile(bool takeTornLine, bool polled) {
    if (!readTimingFile(takeTornLine, polled)) {
        showAutoImportState();
        return false;
    }
    TimingLegs legs(legEndsOf(*this, TimingCsvGrid), AutoImportTeamLegBase);
    ClearGridData(tempKukanGrid, -1);
    const Packed packed = packIntoSplitGrid(TimingCsvGrid, tempKukanGrid,
                                            legJudge(TeamNumberTable(*this), timeCodeLimit(InputGrid), legs));
    SplitImportRows = packed.rows;
    RefreshSplitGridLegs(tempKukanGrid, true);
    AutoImportReport = joinTexts({missingPointsText(legs), packed.left.Text(TimingCsvGrid)});
    // Nothing to hand on: the transfer would only complain about an empty grid.
    AutoTransferHeld = AutoTransferNoAsk && !packed.rows.empty();
    runHeldTransfer();
    showAutoImportState();
    return true;
}

// FromPath into the loaded grid, unless it cannot be read or, polled, is another file
// than the one read before (nothing of it is taken until the desk says so).
bool TMainForm::readTimingFile(bool takeTornLine, bool polled) {
    std::optional<std::string> bytes = ReadImportBytes(FromPath);
    if (!bytes) {
        AutoImportReport = "CSVファイルが開けませんでした。";
        return false;
    }
    if (polled && !StartsWith(*bytes, AutoImportRead)) {
        AutoImportReplaced = true;
        return false;
    }
    AutoImportRead = *bytes;
    AutoImportTornLine = !takeTornLine && cutTornLine(*bytes);
    LoadCsvTextToGrid(TimingCsvGrid, DecodeText(*bytes).Text);
    return true;
}

// A team seen at a later leg's point but not at an earlier one: its times stand in the
// legs their points name, and the desk is told which passing to look for.
std::string TMainForm::missingPointsText(const TimingLegs& legs) const {
    const TeamNumberTable teams(*this);
    const int first = InputGrid.FixedRows(), end = first + TeamNum;
    auto inGrid = [&](int team, int leg) {
        for (int r = first; r < end; ++r)
            if (teams.Find(StrToIntDef(InputGrid.Cells(2 * leg - 1, r), 0)) == team) return true;
        return false;
    };
    const auto missing = legs.Missing(inGrid);
    if (missing.empty()) return {};
    const auto [team, point] = missing.front();
    const std::string name = TeamFieldText(team, 0);
    std::string text = Format("No.%d%s の地点 %d の通過がありません。", team,
                              (name.empty() ? "" : " " + name).c_str(), point);
    if (missing.size() > 1)
        text += Format("ほか %d チームにも抜けがあります。", static_cast<int>(missing.size()) - 1);
    return text;
}

// The desk's typing wins: a transfer never writes under an open editor of the input
// grid; it waits for the editor to close. It hands on the rows the import laid into the
// split grid only while the grid still holds them, and never writes over a passing the
// input grid already holds.
void TMainForm::runHeldTransfer() {
    if (!AutoTransferHeld || InputGrid.EditorOpen()) return;
    AutoTransferHeld = false;
    AutoTransferReport.clear();
    if (splitHoldsImport()) {
        RefreshSplitGridLegs(tempKukanGrid, true);
        const SplitTransfer t = writeSplitToInput(true);
        if (t.kept > 0)
            AutoTransferReport =
                Format("ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞに別の値がある %d 件は書き込みませんでした。 最後: %d区 %d 行目", t.kept,
                       t.keptLeg, t.keptRow);
    }
    showAutoImportState();
}

// The desk (re)starts the import. A file that no longer begins with what was read of it
// is a new start: its passings follow those the input grid holds now.
void TMainForm::startTimingStream() {
    AutoImportReplaced = false;
    AutoImportSize = FileSizeOf(FromPath);
    if (AutoImportRead.empty()) return;
    const std::optional<std::string> bytes = ReadImportBytes(FromPath);
    if (bytes && StartsWith(*bytes, AutoImportRead)) return;
    AutoImportRead.clear();
    takeInputGridAsBase();
}

void TMainForm::takeInputGridAsBase() {
    const TeamNumberTable teams(*this);
    const int first = InputGrid.FixedRows(), end = first + TeamNum - CountAbsentTeams();
    AutoImportRowBase.assign(KukanNum + 1, 0);
    AutoImportTeamLegBase.assign(kMaxTeams + 1, 0);
    for (int leg = 1; leg <= KukanNum; ++leg) {
        for (int r = first; r < end; ++r) {
            if (!GridPairFilled(InputGrid, 2 * leg - 1, r)) continue;
            AutoImportRowBase[leg] = r - first + 1;
            const int team = teams.Find(StrToIntDef(InputGrid.Cells(2 * leg - 1, r), 0));
            if (team >= 1 && team <= kMaxTeams) AutoImportTeamLegBase[team] = leg;
        }
    }
}

std::string TMainForm::autoImportHold() const {
    const std::string held = "保留中：";
    if (AutoImportOn && SlitGridPanel.Visible()) {
        if (!MainWindowActive) return held + "別のウィンドウが開いています。";
        if (!FileExists(FromPath)) return held + FromPath + " がありません。";
        if (AutoImportReplaced)
            return held + "ファイルが置き換えられました。自動取込を入れ直すと再開します。";
        if (tempKukanGrid.EditorOpen()) return held + "ｽﾘｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。";
    }
    if (AutoTransferHeld && InputGrid.EditorOpen()) return held + "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。";
    return {};
}

void TMainForm::showAutoImportState() {
    LabelAutoImport.SetCaption(joinTexts({autoImportHold(), AutoImportReport, AutoTransferReport}));
}

std::string TMainForm::joinTexts(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        if (!part.empty()) text += (text.empty() ? "" : " ") + part;
    return text;
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
    if (!AutoImportOn) return;
    // Chosen again while polling: read at the next tick, as a new start when it is another file.
    startTimingStream();
    AutoImportSize = -1;
    showAutoImportState();
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
    if (!AutoImportOn) return showAutoImportState();
    FromPath = Edit1.Text();
    AutoImportReport.clear();
    AutoTransferReport.clear();
    // The file as read now is the file the ticks compare against.
    startTimingStream();
    importGuarded([this] { LoadAutoImportFile(); });
}

void TMainForm::ActionGetDeamonExecute() {
    AutoTransferNoAsk = !AutoTransferNoAsk;
    AutoTransferHeld = false; // a held transfer would now ask
    ActionGetDeamon.SetChecked(AutoTransferNoAsk);
}

// An import that fails is told beside the progress bar; the polling goes on.
void TMainForm::importGuarded(const std::function<void()>& import) {
    try {
        import();
    } catch (const UnexpectedDialog&) {
        throw; // a test script's failure must reach the test
    } catch (const std::bad_alloc&) {
        AutoImportReport = "取込に失敗しました：メモリが足りません。";
    } catch (const std::exception& e) {
        AutoImportReport = std::string("取込に失敗しました：") + e.what();
    }
    showAutoImportState();
}

// A tick only looks at the file's size and reads it when that changed; it asks nothing,
// and under a dialog or another window it only tells that it holds.
void TMainForm::Timer1Timer() {
    if (!SlitGridPanel.Visible() || !AutoImportOn) return;
    if (MainWindowActive) {
        const TimerPause pause(Timer1);
        importGuarded([this] { pollTimingFile(); });
        const int next = ProgressBar1.Position() + 5;
        ProgressBar1.SetPosition(next >= ProgressBar1.Max() ? 0 : next);
    }
    showAutoImportState();
}

void TMainForm::pollTimingFile() {
    // A file that comes back is read whole, whatever its size.
    if (!FileExists(FromPath)) {
        AutoImportSize = -1;
        return;
    }
    // The cell being edited is the desk's; a replaced file waits for the desk.
    if (AutoImportReplaced || tempKukanGrid.EditorOpen()) return;
    const long long size = FileSizeOf(FromPath);
    if (size != AutoImportSize) {
        // Recorded first: a file that cannot be read is reported once per change.
        AutoImportSize = size;
        loadTimingFile(false, true);
    } else if (AutoImportTornLine) {
        // Not grown since the last look: the last line is as whole as it gets.
        loadTimingFile(true, true);
    }
    runHeldTransfer();
}
