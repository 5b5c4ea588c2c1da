// The clock-time conversion window: its grid set up from the input grid, the clock
// offsets, the leg-time accumulation, the sorts, the step keys and "書込".
#include "mainwindow/TFormClockInput.h"

#include "mainwindow/GridOps.h"
#include "mainwindow/Program.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kSecondsPerDay = 86400;
constexpr int kNoSortKey = 9999999; // empty or not a number: sorted last
constexpr int kNoCol = 1, kTypedCol = 2, kPassCol = 3;

const char* const kNegativeSource = "ﾏｲﾅｽﾃﾞｰﾀがあります。\n処理を中止します。";
const char* const kNegativeWrite = "ﾏｲﾅｽのﾃﾞｰﾀが検出されました。\n処理を中止します。";
const char* const kClockBeforeStart = "起時間がｽﾀｰﾄ時間より早く設定されています。";
const char* const kFirstRowSmaller =
    "1行目のｽﾌﾟﾘｯﾄﾀｲﾑがﾗｯﾌﾟﾀｲﾑより小さいですが、\n変換ﾎﾞﾀﾝを押し忘れていませんか？";
const char* const kNotConverted = "経過→通過変換が正しく行われてないようです。\nキャンセルしますか？";
const char* const kClearTarget = "書き込み先をクリアしないと書き込みできません？\nクリアして書き込みますか？";
const char* const kPassingNotEmpty = "通過ﾀｲﾑｸﾞﾘｯﾄﾞが空でなければこの処理はできません";
const char* const kClearPassing = "通過ﾀｲﾑｸﾞﾘｯﾄﾞをｸﾘｱしますか？";
const char* const kCloseUnwritten = "フォームを閉じますか?\n書き込みはしません";

TMainForm& mainForm() {
    return *MainForm;
}

bool blank(const std::string& s) {
    return Trim(s).empty();
}

int cellInt(const StringGrid& g, int col, int row) {
    return StrToIntDef(Trim(g.Cells(col, row)), 0);
}

int sortKey(const std::string& text) {
    int v = 0;
    return TryStrToInt(Trim(text), v) ? v : kNoSortKey;
}

bool yes(const char* question) {
    return Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) == mrYes;
}

} // namespace

TFormClockInput::TFormClockInput() : FormBase("TFormClockInput") {
    SetCaption("起→通過タイム変換");
    ButtonPlus.SetTag(1);
    ButtonMinus.SetTag(2);
    // One past each end, so that a step beyond it can wrap round (StartTimeHourSpinChange).
    int tag = 0;
    for (SpinEdit* s : {&StartTimeHourSpin, &StartTimeMinSpin, &ClockTimeHourSpin, &ClockTimeMinSpin}) {
        const bool hours = s == &StartTimeHourSpin || s == &ClockTimeHourSpin;
        s->SetRange(-1, hours ? 24 : 60);
        s->SetTag(tag++);
    }
    Label5.SetCaption("※ﾌﾞﾗﾝｸﾃﾞｰﾀは上書きしません。");
    lblSecond.SetCaption("00秒");
    Label6.SetVisible(false);
    RadioButton1.SetCaption("経過ﾀｲﾑ");
    RadioButton2.SetCaption("通過時刻");
    RadioButton1.SetChecked(true);
    ClocInputStringGrid.SetTag(10);
    InputTestGrid.SetVisible(false);
    wire();
}

void TFormClockInput::wire() {
    for (SpinEdit* s : {&StartTimeHourSpin, &StartTimeMinSpin, &ClockTimeHourSpin, &ClockTimeMinSpin})
        s->OnChange = [this, s] { StartTimeHourSpinChange(*s); };
    RadioButton1.OnClick = [this] {
        RadioButton2.SetChecked(!RadioButton1.Checked());
        RadioButton1Click();
    };
    RadioButton2.OnClick = [this] {
        RadioButton1.SetChecked(!RadioButton2.Checked());
        RadioButton1Click();
    };
    CnvExeBtn.OnExecute = [this] { CnvExeBtnClick(); };
    ButtonPlus.OnExecute = [this] { ButtonPlusClick(ButtonPlus); };
    ButtonMinus.OnExecute = [this] { ButtonPlusClick(ButtonMinus); };
    timCnvSpeed.OnExecute = [this] { timCnvSpeedClick(); };
    timCnvSpeed2.OnExecute = [this] { timCnvSpeed2Click(); };
    N3.OnExecute = [this] { N3Click(); };
    SortbyTime1.OnExecute = [this] { SortbyTime1Click(); };
    SortbyPastTime1.OnExecute = [this] { SortbyPastTime1Click(); };
    SortbyZekken1.OnExecute = [this] { SortbyZekken1Click(); };
    TSV1.OnExecute = [this] { TSV1Click(); };
}

std::vector<MenuDef> TFormClockInput::MainMenu1() {
    TMainForm& f = mainForm();
    return {{"CSV変換",
             {&f.OpenCsvData, &f.SaveCsvData, nullptr, &N3, &SortbyTime1, &SortbyPastTime1, &SortbyZekken1}},
            {N1.Caption(), {&f.clippeek, &TSV1}},
            {f.clearGrid.Caption(), {&f.clearGrid}},
            {f.close_clockInput.Caption(), {&f.close_clockInput}}};
}

int TFormClockInput::unit() const {
    return mainForm().chk100.Checked() ? 100 : 1;
}

int TFormClockInput::inUseRows() const {
    return mainForm().TeamNum - mainForm().CountAbsentTeams();
}

// ---- Set-up and showing ----

void TFormClockInput::SetupClockGrid() {
    TMainForm& f = mainForm();
    KukanNo = std::clamp((f.InputGrid.Col() + 1) / 2, 1, kClockLegs);
    TimeCol = 2 * KukanNo;
    Lbl_KName.SetCaption(Format("%d区", KukanNo));
    StringGrid& g = ClocInputStringGrid;
    g.SetColCount(4);
    g.SetRowCount(f.TeamNum + 1);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    const char* titles[] = {"順", "No.", "経過ﾀｲﾑ", "通過ﾀｲﾑ"};
    const char* samples[] = {"XXXX", "XXXXXXXX", "XXXXXXXXXX", "XXXXXXXXXXXXXXX"};
    for (int c = 0; c < 4; ++c) {
        g.SetCellsQuiet(c, 0, titles[c]);
        g.SetColSample(c, samples[c]);
    }
    loadLegCells();
    setSpinsFromTimes();
    GroupBoxStartTime.SetEnabled(true);
    StartTimeHourSpin.SetColor(clWhite);
    StartTimeMinSpin.SetColor(clWhite);
    updateGapLabel();
    g.SetCurrent(1, 1);
}

// Row r is the r-th passing at the relay point: row r + 1 of the input grid.
void TFormClockInput::loadLegCells() {
    const TMainForm& f = mainForm();
    StringGrid& g = ClocInputStringGrid;
    g.BeginUpdate();
    for (int r = 1; r <= f.TeamNum && r < g.RowCount(); ++r) {
        g.SetCellsQuiet(0, r, IntToStr(r));
        g.SetCellsQuiet(kNoCol, r, f.InputGrid.Cells(TimeCol - 1, r + 1));
        g.SetCellsQuiet(kTypedCol, r, "");
        g.SetCellsQuiet(kPassCol, r, f.InputGrid.Cells(TimeCol, r + 1));
    }
    g.EndUpdate();
    g.ClearModified();
}

// Both times are read before any spin moves: each move stores the spins' pair.
void TFormClockInput::setSpinsFromTimes() {
    const int start = ClockStartTimes[0], clock = ClockStartTimes[KukanNo];
    StartTimeHourSpin.SetValue(start / 3600);
    StartTimeMinSpin.SetValue(start % 3600 / 60);
    ClockTimeHourSpin.SetValue(clock / 3600);
    ClockTimeMinSpin.SetValue(clock % 3600 / 60);
}

void TFormClockInput::FormShow() {
    TMainForm& f = mainForm();
    setBufferShown(false);
    GridSorted = false;
    ClocInputStringGrid.SetVisible(true);
    ClocInputStringGrid.SetIme(ImeMode::Close);
    RadioButton1Click();
    InputTestGrid.SetColCount(5);
    InputTestGrid.SetRowCount(f.TeamNum);
    ClearGridRange(InputTestGrid, 0, InputTestGrid.RowCount());
    Label6.SetVisible(false);
    const int splits = StrToIntDef(f.KukanInfGrid.Cells(4, KukanNo), 0);
    if (f.CheckSplitCounts() == 1 && splits > 0) {
        Label6.SetCaption(Format("Split = %d", splits));
        Label6.SetVisible(true);
    }
    DataWritten = false;
}

bool TFormClockInput::FormCloseQuery() {
    if (DataWritten) return true;
    const StringGrid& g = ClocInputStringGrid;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        if (!blank(g.Cells(kNoCol, r))) return yes(kCloseUnwritten);
    return true;
}

bool TFormClockInput::CloseWindow() {
    if (!FormCloseQuery()) return false;
    Close();
    SetModalResult(DataWritten ? mrOk : mrCancel);
    return true;
}

// ---- Clock times ----

int TFormClockInput::ClockToDateTime(int hour, int minute) {
    return std::clamp(hour, 0, 23) * 3600 + std::clamp(minute, 0, 59) * 60;
}

// The spins reach one past each end; a step there wraps round to the other end.
void TFormClockInput::StartTimeHourSpinChange(SpinEdit& spin) {
    if (spin.Text().empty()) return;
    const bool hours = &spin == &StartTimeHourSpin || &spin == &ClockTimeHourSpin;
    const int last = hours ? 23 : 59;
    const int v = spin.Value();
    if (v < 0 || v > last) {
        spin.SetValue(v < 0 ? last : 0); // runs this handler again with the wrapped value
        return;
    }
    if (spin.Tag() <= 1)
        ClockStartTimes[0] = ClockToDateTime(StartTimeHourSpin.Value(), StartTimeMinSpin.Value());
    else
        ClockStartTimes[KukanNo] = ClockToDateTime(ClockTimeHourSpin.Value(), ClockTimeMinSpin.Value());
    updateGapLabel();
}

void TFormClockInput::updateGapLabel() {
    ClockGap = ClockStartTimes[KukanNo] - ClockStartTimes[0];
    if (ClockGap < 0)
        lblTimeGap.SetCaption("起タイム未完了");
    else
        lblTimeGap.SetCaption(Format("起タイム= %d時間%d分", ClockGap / 3600, ClockGap % 3600 / 60));
}

void TFormClockInput::RadioButton1Click() {
    const bool elapsed = elapsedMode();
    GroupBox2.SetVisible(elapsed);
    lblSecond.SetVisible(!elapsed);
    ClocInputStringGrid.SetCellsQuiet(kTypedCol, 0, elapsed ? "経過ﾀｲﾑ" : "通過時刻");
    ClocInputStringGrid.LayoutChanged();
}

// Forward: elapsed time + clock gap, or time of day - race start (one day on when the
// time of day lies before the start). Offsets count in the race's time unit.
int TFormClockInput::ClockOffsetConvert(int code, int direction) const {
    const TMainForm& f = mainForm();
    const int offset = (elapsedMode() ? ClockGap : -ClockStartTimes[0]) * unit();
    int v = f.TimeDigitsToSeconds(code);
    if (direction == 1) {
        v += offset;
        if (v < 0) v += kSecondsPerDay * unit();
    } else {
        v -= offset;
    }
    return f.SecondsToDigits(v);
}

void TFormClockInput::convertColumn(int direction) {
    if (elapsedMode() && ClockStartTimes[0] > ClockStartTimes[KukanNo]) {
        Dlg().ShowMessage(kClockBeforeStart);
        return;
    }
    StringGrid& g = ClocInputStringGrid;
    const int from = direction == 1 ? kTypedCol : kPassCol, to = direction == 1 ? kPassCol : kTypedCol;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        if (blank(g.Cells(from, r))) continue;
        const int v = cellInt(g, from, r);
        if (v < 0) {
            Dlg().ShowMessage(kNegativeSource);
            return;
        }
        g.SetCells(to, r, IntToStr(ClockOffsetConvert(v, direction)));
    }
}

// ---- Writing into the input grid ----

bool TFormClockInput::writeConfirmed() {
    const StringGrid& g = ClocInputStringGrid;
    if (cellInt(g, kPassCol, 1) < cellInt(g, kTypedCol, 1) && yes(kFirstRowSmaller)) return false;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        if (!blank(g.Cells(kTypedCol, r)) && blank(g.Cells(kPassCol, r))) return !yes(kNotConverted);
    return true;
}

// After a sort the rows no longer follow the passing order typed so far: the target
// rows are cleared first, or nothing is written.
bool TFormClockInput::clearTargetConfirmed() {
    StringGrid& in = mainForm().InputGrid;
    const int end = inUseRows() + in.FixedRows();
    if (!GridSorted) return true;
    bool filled = false;
    for (int r = in.FixedRows(); r < end; ++r)
        filled = filled || !blank(in.Cells(TimeCol, r));
    if (!filled) return true;
    if (!yes(kClearTarget)) return false;
    for (int r = in.FixedRows(); r < end; ++r) {
        in.SetCells(TimeCol, r, "");
        in.SetCells(TimeCol - 1, r, "");
    }
    return true;
}

// Empty cells never overwrite what the input grid holds.
void TFormClockInput::CnvExeBtnClick() {
    if (!writeConfirmed() || !clearTargetConfirmed()) return;
    const StringGrid& g = ClocInputStringGrid;
    StringGrid& in = mainForm().InputGrid;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        const std::string no = Trim(g.Cells(kNoCol, r)), time = Trim(g.Cells(kPassCol, r));
        if (!no.empty()) in.SetCells(TimeCol - 1, r + 1, no);
        if (time.empty()) continue;
        if (StrToIntDef(time, 0) < 0) {
            Dlg().ShowMessage(kNegativeWrite);
            return;
        }
        in.SetCells(TimeCol, r + 1, time);
    }
    DataWritten = true;
    CloseWindow();
}

// ---- Leg times to passing times ----

void TFormClockInput::AccumulateLegTimes() {
    TMainForm& f = mainForm();
    StringGrid& g = ClocInputStringGrid;
    ClearGridRange(InputTestGrid, 0, InputTestGrid.RowCount());
    const int rows = std::min(inUseRows(), g.RowCount() - 1);
    bool passings = false, laps = false;
    for (int r = 1; r <= rows; ++r) {
        passings = passings || !blank(g.Cells(kPassCol, r));
        laps = laps || !blank(g.Cells(kTypedCol, r));
    }
    if (passings) {
        Dlg().ShowMessage(kPassingNotEmpty);
        if (yes(kClearPassing))
            for (int r = g.FixedRows(); r < g.RowCount(); ++r)
                g.SetCells(kPassCol, r, "");
        return;
    }
    if (!laps) return;
    // Number card at the previous relay point -> its passing time; the last row wins.
    std::map<int, int> previous;
    const int prevTime = 2 * (KukanNo - 1);
    for (int r = 2; KukanNo > 1 && r < f.InputGrid.RowCount(); ++r)
        previous[StrToIntDef(f.InputGrid.Cells(prevTime - 1, r), 0)] =
            StrToIntDef(f.InputGrid.Cells(prevTime, r), 0);
    for (int r = 1; r <= rows; ++r) {
        const std::string lap = Trim(g.Cells(kTypedCol, r));
        if (KukanNo == 1) {
            g.SetCells(kPassCol, r, lap);
            continue;
        }
        // No card, no lap or no passing before: no match, so "書込" warns about the row.
        const int card = cellInt(g, kNoCol, r);
        auto it = previous.find(card);
        if (card < 1 || lap.empty() || it == previous.end() || it->second == 0) continue;
        const int sum = f.TimeDigitsToSeconds(it->second) + f.TimeDigitsToSeconds(StrToIntDef(lap, 0));
        g.SetCells(kPassCol, r, IntToStr(f.SecondsToDigits(sum)));
    }
    SortClockGrid(kPassCol);
}

// ---- Sorts ----

// Rows up to the first empty key cell, ascending by the key, then by "順".
void TFormClockInput::SortClockGrid(int col) {
    StringGrid& g = ClocInputStringGrid;
    int end = inUseRows() + 1;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        if (blank(g.Cells(col, r))) {
            end = r;
            break;
        }
    end = std::min(end, g.RowCount());
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < end; ++r)
        rows.push_back(g.Row(r));
    auto after = [col](const std::vector<std::string>& a, const std::vector<std::string>& b) {
        const int ka = sortKey(a[col]), kb = sortKey(b[col]);
        if (ka != kb || col == 0) return ka > kb;
        return sortKey(a[0]) > sortKey(b[0]);
    };
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (after(rows[i], rows[j])) std::swap(rows[i], rows[j]);
    for (size_t i = 0; i < rows.size(); ++i)
        for (int c = 0; c < g.ColCount(); ++c)
            g.SetCells(c, static_cast<int>(i) + 1, rows[i][c]);
    for (int r = 1; r < g.RowCount(); ++r)
        g.SetCells(0, r, IntToStr(r));
    GridSorted = true;
}

// ---- Step keys and buttons ----

// A step is one second of the race's unit; a time below one step is not stepped down.
bool TFormClockInput::stepCell(int row, int step) {
    StringGrid& g = ClocInputStringGrid;
    const std::string text = Trim(g.Cells(kTypedCol, row));
    if (text.empty()) return false;
    const TMainForm& f = mainForm();
    int t = f.TimeDigitsToSeconds(StrToIntDef(text, 0));
    if (step < 0 && t < unit()) return false;
    t += step * unit();
    g.SetCells(kTypedCol, row, IntToStr(f.SecondsToDigits(t)));
    return true;
}

void TFormClockInput::ClocInputStringGridKeyPress(char32_t& key) {
    StringGrid& g = ClocInputStringGrid;
    if (key == U'+' || key == U'-') {
        const int step = key == U'+' ? 1 : -1;
        key = Key::None;
        if (g.Col() == kTypedCol && g.CurRow() >= g.FixedRows()) stepCell(g.CurRow(), step);
        return;
    }
    mainForm().InputGridKeyPress(g, key);
}

void TFormClockInput::ButtonPlusClick(const Action& button) {
    const StringGrid& g = ClocInputStringGrid;
    bool any = false;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        any = any || !blank(g.Cells(kTypedCol, r));
    if (!any) return;
    const bool up = button.Tag() == 1;
    if (!yes(up ? "値を全て1秒繰り上げますか？" : "値を全て1秒繰り下げすか？")) return;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        stepCell(r, up ? 1 : -1);
}

// ---- Grid events ----

CellStyle TFormClockInput::ClocInputStringGridDrawCell(int col, int row) const {
    const StringGrid& g = ClocInputStringGrid;
    const TMainForm& f = mainForm();
    CellStyle st;
    st.Text = g.Cells(col, row);
    if (col == kPassCol || row >= inUseRows() + 1) st.Background = clSilver;
    if (row < g.FixedRows() || col < g.FixedCols() || col == kNoCol) {
        st.Align = CellAlign::Center;
        return st;
    }
    st.Align = CellAlign::Right;
    if (!elapsedMode() && col == kTypedCol && !blank(st.Text))
        st.Text = f.SecondsToClockText(f.TimeDigitsToSeconds(StrToIntDef(Trim(st.Text), 0)));
    else
        st.Text = f.TimeToDisplayText(st.Text);
    return st;
}

// The computed passing times are not typed.
bool TFormClockInput::ClocInputStringGridSelectCell(int col, int) const {
    return col < kPassCol;
}

void TFormClockInput::ClocInputStringGridEnter() {
    mainForm().InputGridEnter(ClocInputStringGrid);
}

// ---- Clipboard menu ----

void TFormClockInput::N1Click() {
    TMainForm& f = mainForm();
    const int kind = f.ClipboardSeparatorKind();
    f.clippeek.SetEnabled(kind == 0);
    TSV1.SetEnabled(kind == 1);
}

void TFormClockInput::TSV1Click() { mainForm().PasteNumberTimePairs(ClocInputStringGrid, true); }

// ---- Import buffer ----

void TFormClockInput::N3Click() {
    setBufferShown(N3.Tag() != 1);
}

void TFormClockInput::setBufferShown(bool shown) {
    TMainForm& f = mainForm();
    N3.SetTag(shown ? 1 : 0);
    InputTestGrid.SetVisible(shown);
    ClocInputStringGrid.SetVisible(!shown);
    MainPanel.SetVisible(!shown);
    for (Action* a : {&N1, &f.clearGrid, &f.OpenCsvData, &f.SaveCsvData})
        a->SetEnabled(!shown);
    N3.SetCaption(shown ? "ﾊﾞｯﾌｧを隠す" : "ﾊﾞｯﾌｧを表示");
}
