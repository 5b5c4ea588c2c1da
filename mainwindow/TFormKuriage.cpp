#include "mainwindow/TFormKuriage.h"

#include "database/RaceFile.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <climits>
#include <stdexcept>

namespace {

constexpr int kStartCol = 1;
constexpr int kTopGapCol = 2;
constexpr int kLastGapCol = 3;

constexpr const char* kTopGapOverStart =
    "実施タイムが既に設定されているのでトップ差変換はできません。\n実施タイムを空にしてトップ差タイムを入力してください。";
constexpr const char* kCopyQuestion =
    "第%d中継点、\n通過順位%d位、ｾﾞｯｹﾝ%d番の通過ﾀｲﾑ数値\n %d を\n実施ﾀｲﾑにｺﾋﾟｰしてもいいですか？";
constexpr const char* kLateStartQuestion =
    "ﾗｽﾄ差がﾏｲﾅｽでない繰上実施ﾀｲﾑが設定されています。\n設定値は意味を持ちませんがいいですか？";

TMainForm& mainForm() { return *MainForm; }
int seconds(int code) { return mainForm().TimeDigitsToSeconds(code); }
// A gap of zero or more is kept as a time code, a negative one as seconds.
std::string gapText(int secs) { return Format("%d", mainForm().SecondsToDigits(secs)); }

} // namespace

TFormKuriage::TFormKuriage() : FormBase("TFormKuriage") {
    SetCaption("繰上/再出発");
    KuriageGrid.SetEditing(true);
    ToolButtonCopy.SetEnabled(false);
    MenuGetFromInputG.SetEnabled(false);
    wireActions();
}

void TFormKuriage::wireActions() {
    ToolButtonCopy.OnExecute = MenuGetFromInputG.OnExecute = [this] { ToolButtonCopyClick(); };
    ToolButton2.OnExecute = N1.OnExecute = [this] { ToolButton2Click(); };
    ToolButton3.OnExecute = N2.OnExecute = [this] { ToolButton3Click(); };
    ToolButton4.OnExecute = N3.OnExecute = [this] { ToolButton4Click(); };
    ToolButton6.OnExecute = [this] { ToolButton6Click(); };
    ToolButton5.OnExecute = [this] { ToolButton5Click(); };
}

void TFormKuriage::SetupKuriageGrid(StringGrid& grid, int legs) {
    grid.SetColCount(4);
    grid.SetRowCount(legs < 1 ? 1 : legs);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetCellsQuiet(0, 0, "地点名");
    grid.SetCellsQuiet(1, 0, "実施タイム");
    grid.SetCellsQuiet(2, 0, "ﾄｯﾌﾟ差");
    grid.SetCellsQuiet(3, 0, "ﾗｽﾄ差");
    grid.SetColSample(0, std::string(17, 'X'));
    grid.SetColSample(1, std::string(11, 'X'));
    for (int k = 1; k < legs; ++k) grid.SetCellsQuiet(0, k, Format("第%d中継/第%d出発", k, k + 1));
}

// The grid keeps its rows when it grows or shrinks, so the times of the relay
// points that remain stay as they were; the gaps are stale until the next refresh.
void TFormKuriage::FollowLegCount(int legs) { SetupKuriageGrid(KuriageGrid, legs); }

int TFormKuriage::cellInt(int col, int row) const { return StrToIntDef(KuriageGrid.Cells(col, row), 0); }

// Every change of a start time goes through here: it is what the blob holds.
void TFormKuriage::setStartTime(int row, const std::string& text) {
    if (KuriageGrid.Cells(kStartCol, row) == text) return;
    KuriageGrid.SetCells(kStartCol, row, text);
    edited_ = true;
    FTimeDirty = true;
}

void TFormKuriage::clearGaps(int row) {
    KuriageGrid.SetCellsQuiet(kTopGapCol, row, "");
    KuriageGrid.SetCellsQuiet(kLastGapCol, row, "");
}

// A start of 0 is no start: shown and copied into as an empty cell.
void TFormKuriage::dropZeroStart(int row) {
    if (!KuriageGrid.Cells(kStartCol, row).empty() && cellInt(kStartCol, row) == 0)
        KuriageGrid.SetCellsQuiet(kStartCol, row, "");
}

// Gaps of an advanced start t; false when t lies after the last passing.
bool TFormKuriage::fillGaps(int row, int t) {
    int last = 0;
    const int first = mainForm().PassingTimeRange(row, last);
    const int lastGap = seconds(t) - seconds(last);
    KuriageGrid.SetCellsQuiet(kTopGapCol, row, gapText(seconds(t) - seconds(first)));
    KuriageGrid.SetCellsQuiet(kLastGapCol, row, gapText(lastGap));
    return lastGap <= 0;
}

void TFormKuriage::UpdateKuriageRow() {
    const int c = KuriageGrid.Col(), r = KuriageGrid.CurRow();
    if (r < 1 || (c != kStartCol && c != kTopGapCol)) return;
    if (c == kTopGapCol) {
        if (Trim(KuriageGrid.Cells(kTopGapCol, r)).empty()) return;
        if (!Trim(KuriageGrid.Cells(kStartCol, r)).empty()) {
            Dlg().ShowMessage(kTopGapOverStart);
            KuriageGrid.SetCells(kTopGapCol, r, "");
            return;
        }
        // The operator typed the gap to the first passing: the start follows from it.
        int last = 0;
        const int t = mainForm().SecondsToDigits(seconds(mainForm().PassingTimeRange(r, last)) +
                                                 seconds(cellInt(kTopGapCol, r)));
        setStartTime(r, t > 0 ? Format("%d", t) : std::string());
    }
    const int t = cellInt(kStartCol, r);
    if (t < 1) {
        dropZeroStart(r);
        clearGaps(r);
        return;
    }
    fillGaps(r, t);
}

bool TFormKuriage::RefreshKuriageGaps() {
    bool ok = true;
    for (int r = 1; r < KuriageGrid.RowCount(); ++r) {
        dropZeroStart(r);
        const int t = cellInt(kStartCol, r);
        if (t > 0) ok = fillGaps(r, t) && ok;
        else clearGaps(r);
    }
    return ok;
}

void TFormKuriage::SetKuriageSign(int mode) {
    const int r = KuriageGrid.CurRow();
    if (r >= 1 && !Trim(KuriageGrid.Cells(kStartCol, r)).empty()) {
        const long long t = cellInt(kStartCol, r);
        if (mode == 0 && t < 1) setStartTime(r, Format("%lld", -t));
        else if (mode == 1 && t >= 0) setStartTime(r, Format("%lld", -t));
    }
    RefreshKuriageGaps();
}

bool TFormKuriage::CanCopyFromInputGrid() {
    const StringGrid& in = mainForm().InputGrid;
    const int legs = mainForm().KukanNum;
    const int ic = in.Col(), ik = ic / 2, tk = KuriageGrid.CurRow();
    const bool ok = KuriageGrid.Col() == kStartCol && ic % 2 == 0 && ik >= 1 && ik <= legs && tk >= 0 &&
                    tk <= legs && in.CurRow() >= in.FixedRows() && !Trim(in.Cells(ic, in.CurRow())).empty() &&
                    Trim(KuriageGrid.Cells(kStartCol, tk)).empty() && ik == tk;
    ToolButtonCopy.SetEnabled(ok);
    MenuGetFromInputG.SetEnabled(ok);
    return ok;
}

bool TFormKuriage::ExportKuriageCsv() {
    try {
        MakeHtmlFolder();
    } catch (const CreateFolderError& e) {
        Dlg().ShowException(e.what());
        return false;
    }
    const std::filesystem::path path = HtmlCsvFolder() / "kuriage.csv";
    std::string text;
    for (int r = 1; r < KuriageGrid.RowCount(); ++r) text += Format("%d,%d\r\n", r, cellInt(kStartCol, r));
    if (!WriteFileBytes(path, text)) {
        Dlg().ShowMessage("ファイルがオープン出来ません");
        return false;
    }
    Dlg().ShowMessage(Format("%s\nを保存しました。", path.string().c_str()));
    return true;
}

void TFormKuriage::FormShow() {
    edited_ = false;
    exported_ = false;
    typedSinceEnter_ = false;
    RefreshKuriageGaps();
}

// The copy buttons follow the row that was clicked.
void TFormKuriage::KuriageGridMouseDown(int /*col*/, int row) {
    if (row >= KuriageGrid.FixedRows() && row < KuriageGrid.RowCount()) KuriageGrid.SetRow(row);
    CanCopyFromInputGrid();
}

bool TFormKuriage::KuriageGridSelectCell(int col, int /*row*/) {
    if (col == kLastGapCol) return false;
    KuriageGrid.SetIme(ImeMode::Close);
    return true;
}

void TFormKuriage::KuriageGridClick() { KuriageGrid.SetIme(ImeMode::Close); }

void TFormKuriage::KuriageGridSetEditText(int col, int row, const std::string& text) {
    typedSinceEnter_ = true;
    if (col == kStartCol) {
        setStartTime(row, text);
        return;
    }
    KuriageGrid.SetCells(col, row, text);
    edited_ = true;
}

void TFormKuriage::KuriageGridKeyPress(char32_t& key) {
    const bool startCol = KuriageGrid.Col() == kStartCol;
    if (key == Key::Backspace && !startCol) return;
    if (key >= U'0' && key <= U'9') return;
    if (key != Key::Enter && key != Key::Backspace) {
        key = Key::None;
        return;
    }
    const int r = KuriageGrid.CurRow();
    if (key == Key::Backspace) {
        setStartTime(r, "");
        CanCopyFromInputGrid();
    }
    UpdateKuriageRow();
    // Enter after typing keeps the row, so "繰り上げ"/"再出発" act on the time just typed.
    if (key == Key::Enter && !typedSinceEnter_ && r + 1 < KuriageGrid.RowCount()) KuriageGrid.SetRow(r + 1);
    if (key == Key::Enter) typedSinceEnter_ = false;
    key = Key::None;
}

void TFormKuriage::ToolButton2Click() { SetKuriageSign(0); }
void TFormKuriage::ToolButton3Click() { SetKuriageSign(1); }
void TFormKuriage::ToolButton4Click() { RefreshKuriageGaps(); }

void TFormKuriage::ToolButtonCopyClick() {
    if (!CanCopyFromInputGrid()) return;
    const StringGrid& in = mainForm().InputGrid;
    const int ic = in.Col(), ir = in.CurRow(), tk = KuriageGrid.CurRow();
    const std::string passing = Trim(in.Cells(ic, ir));
    const std::string q = Format(kCopyQuestion, tk, StrToIntDef(in.Cells(0, ir), 0), StrToIntDef(in.Cells(ic - 1, ir), 0),
                                 StrToIntDef(passing, 0));
    if (Dlg().MessageDlg(q, MsgKind::Confirmation, Btn::YesNo) != mrYes) return;
    setStartTime(tk, passing);
    RefreshKuriageGaps();
}

// A failed export keeps the window open: its message is shown once and the desk decides.
void TFormKuriage::ToolButton6Click() {
    exported_ = ExportKuriageCsv();
    if (exported_) CloseWindow();
}

void TFormKuriage::ToolButton5Click() { CloseWindow(); }

bool TFormKuriage::FormCloseQuery() {
    if (RefreshKuriageGaps()) return true;
    return Dlg().MessageDlg(kLateStartQuestion, MsgKind::Confirmation, Btn::OKCancel) == mrOk;
}

// A blob that cannot be written stays dirty, so the next input save tries again.
void TFormKuriage::FormClose() {
    if (edited_) {
        try {
            SaveKuriageBlob();
            FTimeDirty = false;
        } catch (const std::runtime_error& e) {
            Dlg().ShowException(e.what());
        }
        if (!exported_) ExportKuriageCsv();
    }
    mainForm().InputGrid.Changed(); // its painter marks the advanced starts
}

bool TFormKuriage::CloseWindow() {
    if (!FormCloseQuery()) return false;
    FormClose();
    Hide();
    return true;
}

std::string TFormKuriage::drawText(int col, const std::string& text) const {
    int v = 0;
    if (!TryStrToInt(Trim(text), v) || v == INT_MIN) return {};
    const TMainForm& f = mainForm();
    if (col == kStartCol) {
        if (v == 0) return {};
        if (v < 0) return "(RS) " + f.TimeToDisplayText(Format("%d", -v));
    }
    if (v >= 0) return f.SecondsToMarkText(f.TimeDigitsToSeconds(v));
    return "-" + f.SecondsToMarkText(-v);
}

CellStyle TFormKuriage::KuriageGridDrawCell(int col, int row) const {
    CellStyle st;
    const std::string& text = KuriageGrid.Cells(col, row);
    if (col < KuriageGrid.FixedCols() || row < KuriageGrid.FixedRows()) {
        st.Align = CellAlign::Center;
        st.Text = text;
        return st;
    }
    st.Align = CellAlign::Right;
    st.Text = drawText(col, text);
    return st;
}
