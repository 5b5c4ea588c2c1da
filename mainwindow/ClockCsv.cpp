// Clock-time files and the clipboard in the clock-time window: times taken with other
// tools read into the import buffer (InputTestGrid), their numbers checked, and the rows
// placed into the clock grid; the clock grid saved as a CSV file.
#include "database/ReportTables.h"
#include "mainwindow/CsvGrid.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormClockInput.h"
#include "output/TextFile.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <filesystem>

namespace {

constexpr int kMaxLines = 999;
constexpr int kBufferCols = 5;
constexpr int kLastBufferCol = kBufferCols; // a sixth field is still read
constexpr int kMaxDigits = 10;
constexpr int kPreviewBytes = 80;
constexpr int kNoCol = 1;
constexpr int kTeamNameCol = 1, kTeamAliasCol = 3;

const char* const kSkipped = "いくつかのデータは取り込んでいません。";
const char* const kReadFailed = "読み込みに失敗しました。";

TMainForm& mainForm() {
    return *MainForm;
}

int cellInt(const StringGrid& g, int col, int row, int empty) {
    const std::string t = Trim(g.Cells(col, row));
    return t.empty() ? empty : StrToIntDef(t, 0);
}

std::string unquote(const std::string& text) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '"') t.front() = ' ';
    if (t.size() > 1 && t.back() == '"') t.back() = ' ';
    return Trim(t);
}

// Lines ended by CR, LF or CR LF; the rest beyond kMaxLines is dropped.
std::vector<std::string> importLines(const std::string& text) {
    std::vector<std::string> lines = SplitLines(text);
    if (static_cast<int>(lines.size()) > kMaxLines) {
        Dlg().ShowMessage(Format("行数が%d を超えました。", kMaxLines));
        lines.resize(kMaxLines);
    }
    return lines;
}

// The fields of a line: every comma outside double quotes cuts.
std::vector<std::string> lineFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"') quoted = !quoted;
        if (ch == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += ch;
    }
    return fields;
}

// A keyword announces that the next field with digits holds its value.
void noteKeyword(const std::string& field, const char* keyword, int& value) {
    if (unquote(field) == keyword)
        value = 0;
    else if (value == 0)
        value = TFormClockInput::DigitsValue(field);
}

// A time field keeps a leading minus, so the conversion's and the write's minus checks
// see it; the other fields are reduced to their digits.
int signedDigitsValue(const std::string& field) {
    const int v = TFormClockInput::DigitsValue(field);
    const std::string t = unquote(field);
    return !t.empty() && t.front() == '-' ? -v : v;
}

// A row placed without a number keeps its times: only a row with nothing in it is free.
bool rowIsFree(const StringGrid& g, int row) {
    for (int c = 1; c < g.ColCount(); ++c)
        if (!Trim(g.Cells(c, row)).empty()) return false;
    return true;
}

std::string folderOf(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
}

} // namespace

int TFormClockInput::DigitsValue(const std::string& text) {
    long long v = 0;
    int digits = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') continue;
        if (++digits > kMaxDigits) return 0;
        v = v * 10 + (ch - '0');
    }
    return v > 2147483647LL ? 0 : static_cast<int>(v);
}

int TFormClockInput::TeamNumberFromText(const std::string& text) {
    const std::string t = unquote(text);
    if (t.empty()) return 0;
    int v = 0;
    if (TryStrToInt(t, v) && v >= 1 && v <= kMaxAlias) return v;
    const TMainForm& f = mainForm();
    const StringGrid& g = f.TeamEntryGrid;
    for (int row = 1; row <= f.TeamNum && row < g.RowCount(); ++row) {
        if (!TMainForm::TextsMatchLoosely(Trim(g.Cells(kTeamNameCol, row)), t)) continue;
        int card = 0;
        if (!TryStrToInt(Trim(g.Cells(0, row)), card)) continue; // a row that cannot be read
        const int alias = cellInt(g, kTeamAliasCol, row, 0);
        return alias > f.TeamNum ? alias : card;
    }
    return 0;
}

// ---- Reading into the buffer ----

bool TFormClockInput::ImportClockCsv(const std::string& fileName, bool fromClipboard) {
    std::string text;
    if (fromClipboard) {
        text = Clip().GetText();
    } else {
        const auto read = ReadImportText(fileName);
        if (!read) {
            Dlg().ShowMessage("ファイル読み込み失敗");
            return false;
        }
        text = *read;
    }
    return readBufferText(text);
}

// Each import starts on an empty buffer of its first size, and each line on an empty
// row: a line that leaves no row (no order number) leaves nothing behind either.
bool TFormClockInput::readBufferText(const std::string& text) {
    StringGrid& b = InputTestGrid;
    ClearGridRange(b, 0, b.RowCount());
    b.SetColCount(kBufferCols);
    b.SetRowCount(std::max(1, mainForm().TeamNum));
    b.DropHiddenCells(); // a longer file read before keeps no memory
    FileLeg = FileInvoke = -1;
    int r = 0;
    for (const std::string& line : importLines(text)) {
        if (Trim(line).empty()) continue;
        if (r >= b.RowCount()) b.SetRowCount(r + 1);
        for (int c = 0; c < kBufferCols; ++c)
            b.SetCells(c, r, "");
        const std::vector<std::string> fields = lineFields(line);
        for (int col = 0; col < static_cast<int>(fields.size()); ++col) {
            const std::string& field = fields[col];
            if (col > kLastBufferCol) {
                if (Trim(field).empty()) continue;
                Dlg().ShowMessage("ﾀｰｹﾞｯﾄﾌｧｲﾙのｶﾗﾑ数が多すぎます。");
                return false;
            }
            noteKeyword(field, "Leg", FileLeg);
            noteKeyword(field, "Invoke", FileInvoke);
            const int v = col == kNoCol ? TeamNumberFromText(field)
                          : col > kNoCol ? signedDigitsValue(field)
                                         : DigitsValue(field);
            b.SetCells(col, r, v != 0 ? Format("%d", v) : "");
        }
        if (!Trim(b.Cells(0, r)).empty()) ++r;
    }
    if (b.RowCount() > 1 && Trim(b.Cells(0, b.RowCount() - 1)).empty()) b.SetRowCount(b.RowCount() - 1);
    return true;
}

// ---- Placing the buffer ----

void TFormClockInput::placeBufferRow(int bufferRow, int gridRow) {
    for (int c = 1; c < kBufferCols; ++c) {
        const std::string& t = InputTestGrid.Cells(c, bufferRow);
        if (!t.empty()) ClocInputStringGrid.SetCells(c, gridRow, t);
    }
}

// The grid held the old leg's cells: "書込" would put them into the new leg.
void TFormClockInput::changeLegTo(int leg) {
    KukanNo = leg;
    TimeCol = 2 * KukanNo;
    Lbl_KName.SetCaption(Format("%d区", KukanNo));
    loadLegCells();
    setSpinsFromTimes();
    updateGapLabel();
}

// A clock start time of another day's form (25:00, 9:75) is no time: ignored unasked.
void TFormClockInput::offerFileInvoke() {
    if (FileInvoke <= 0) return;
    const int hour = FileInvoke / 100, minute = FileInvoke % 100;
    if (hour > 23 || minute > 59) return;
    if (FileInvoke == ClockTimeHourSpin.Value() * 100 + ClockTimeMinSpin.Value()) return;
    if (Dlg().MessageDlg(Format("Invoke %02d:%02d を設定してもよいですか？", hour, minute), MsgKind::Confirmation,
                         Btn::YesNo) != mrYes)
        return;
    ClockTimeHourSpin.SetValue(hour);
    ClockTimeMinSpin.SetValue(minute);
    StartTimeHourSpinChange(ClockTimeHourSpin);
    StartTimeHourSpinChange(ClockTimeMinSpin);
}

int TFormClockInput::askNumberCheck() {
    const StringGrid& b = InputTestGrid;
    for (int r = 0; r < b.RowCount(); ++r) {
        const int k = cellInt(b, kNoCol, r, -1);
        if (k == -1 || IsValidNumberCard(k)) continue;
        const std::string text = k >= 1 && k <= mainForm().TeamNum
                                     ? std::string("利用できないNoか、エリアスNoを使用していないデータが含まれています。") +
                                           "\nこれらのデータは取り込まなくていいですか？"
                                     : std::string("利用できないNoが含まれています。") +
                                           "\n利用できないNoは取り込まなくていいですか？";
        return Dlg().MessageDlg(text, MsgKind::Confirmation, Btn::YesNo);
    }
    return 0;
}

void TFormClockInput::MergeClockBuffer() {
    const TMainForm& f = mainForm();
    StringGrid& g = ClocInputStringGrid;
    const int rows = inUseRows();
    if (!GridRowsEmpty(g, rows + 1)) {
        const int r = Dlg().MessageDlg(
            "ｸﾞﾘｯﾄﾞにﾃﾞｰﾀが存在します。追加してもいいですか？\nいいえを押すとｸﾘｱ後に取り込みます。",
            MsgKind::Confirmation, Btn::YesNoCancel);
        if (r != mrYes && r != mrNo) return;
        if (r == mrNo) ClearGridRange(g, 1, rows + 1);
    }
    if (FileLeg > 0 && FileLeg <= f.KukanNum && FileLeg != KukanNo) {
        const int r = Dlg().MessageDlg(
            Format("%d区とLeg=%dが一致していません。\n区間を変更しますか？", KukanNo, FileLeg), MsgKind::Confirmation,
            Btn::YesNoCancel);
        if (r != mrYes && r != mrNo) return;
        if (r == mrYes) changeLegTo(FileLeg);
    }
    offerFileInvoke();
    const bool byNumber = askNumberCheck() == mrYes;
    const StringGrid& b = InputTestGrid;
    bool skipped = false;
    int j = 0;
    for (int r = 0; r < b.RowCount(); ++r) {
        if (Trim(b.Cells(0, r)).empty()) continue; // no data
        int target = 0;
        if (byNumber) {
            if (IsValidNumberCard(cellInt(b, kNoCol, r, 0))) target = ++j;
        } else {
            const int o = cellInt(b, 0, r, 0);
            if (o >= 1 && o <= f.TeamNum) target = o;
        }
        if (target >= 1 && target <= rows)
            placeBufferRow(r, target);
        else
            skipped = true;
    }
    if (skipped) Dlg().ShowMessage(kSkipped);
}

int TFormClockInput::AppendClockBuffer(int fileIndex) {
    StringGrid& g = ClocInputStringGrid;
    const int rows = inUseRows();
    if (fileIndex == 0 && !GridRowsEmpty(g, rows + 1)) {
        if (Dlg().MessageDlg("ｸﾞﾘｯﾄﾞにﾃﾞｰﾀが存在します。ｸﾘｱして取り込んでもいいですか？", MsgKind::Confirmation,
                             Btn::YesNo) != mrYes)
            return 1;
        ClearGridRange(g, 1, rows + 1);
    }
    const bool validOnly = askNumberCheck() == mrYes;
    const StringGrid& b = InputTestGrid;
    const int teams = mainForm().TeamNum;
    bool skipped = false;
    for (int r = 0; r < b.RowCount(); ++r) {
        const int o = cellInt(b, 0, r, 0);
        if (Trim(b.Cells(0, r)).empty()) continue;
        int target = 0;
        if (o >= 1 && o <= teams && (!validOnly || IsValidNumberCard(cellInt(b, kNoCol, r, 0))))
            for (int row = 1; row < g.RowCount() && target == 0; ++row)
                if (rowIsFree(g, row)) target = row;
        if (target == 0)
            skipped = true;
        else
            placeBufferRow(r, target);
    }
    if (skipped) Dlg().ShowMessage(kSkipped);
    return 0;
}

// ---- The commands ----

void TFormClockInput::OpenClockCsvFile() {
    TMainForm& f = mainForm();
    std::string folder = f.exCsvFilePath;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    FileDialogRequest dialogSpec = OpenDialog2;
    dialogSpec.InitialDir = folder;
    dialogSpec.FileName = folder + "/Untitled.csv";
    const auto files = Dlg().OpenFiles(dialogSpec);
    if (!files) return;
    const bool several = files->size() > 1;
    for (size_t i = 0; i < files->size(); ++i) {
        const std::string& file = (*files)[i];
        const bool read = ImportClockCsv(file, false);
        f.exCsvFilePath = folderOf(file);
        if (!read) {
            Dlg().ShowMessage(kReadFailed);
            return;
        }
        if (!several)
            MergeClockBuffer();
        else if (AppendClockBuffer(static_cast<int>(i)) == 1)
            return;
    }
}

void TFormClockInput::ImportClipboardGrid() {
    ClearGridRange(InputTestGrid, 0, InputTestGrid.RowCount());
    if (!Clip().HasText()) {
        Dlg().ShowMessage("ｸﾘｯﾌﾟﾎﾞｰﾄﾞはテキストではありません。");
        return;
    }
    const std::string text = Clip().GetText();
    if (text.empty()) {
        Dlg().ShowMessage("ｸﾘｯﾌﾟﾎﾞｰﾄﾞは空です。");
        return;
    }
    if (text.find(',') == std::string::npos) {
        Dlg().ShowMessage("ｸﾘｯﾌﾟﾎﾞｰﾄﾞはCSVではありません。");
        return;
    }
    std::string preview = CutSjis(text, kPreviewBytes);
    if (preview.size() < text.size()) preview += ".....";
    if (Dlg().MessageDlg(preview + "\n\nｸﾘｯﾌﾟﾎﾞｰﾄﾞの中身です。\n取り込みを試みますか？", MsgKind::Confirmation,
                         Btn::YesNo) != mrYes)
        return;
    if (ImportClockCsv("", true))
        MergeClockBuffer();
    else
        Dlg().ShowMessage(kReadFailed);
}

void TFormClockInput::SaveClockCsv() {
    FileDialogRequest dialogSpec = SaveDialog2;
    dialogSpec.InitialDir = mainForm().exCsvFilePath;
    dialogSpec.FileName = Format("%03d.csv", KukanNo);
    const auto file = Dlg().SaveFile(dialogSpec);
    if (!file) return;
    const StringGrid& g = ClocInputStringGrid;
    std::string text;
    for (int r = 0; r < g.RowCount(); ++r)
        text += g.Cells(0, r) + "," + g.Cells(1, r) + "," + g.Cells(2, r) + "," + g.Cells(3, r) + "\n";
    if (!WriteTextFile(*file, text)) {
        Dlg().ShowMessage("ファイルがオープン出来ません");
        return;
    }
    Dlg().ShowMessage(Format("%s\nを保存しました。", file->c_str()));
}
