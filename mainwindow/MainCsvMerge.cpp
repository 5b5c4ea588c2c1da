// Joins the CSV files a timing system leaves in one folder into "marged.csv": blank
// lines and lines of bare commas go, and, when the desk asks for it, the header line
// every later file repeats.
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <system_error>

namespace {

constexpr const char* kMergedName = "marged.csv";
constexpr const char* kJoinedName = "$$temp.$$";

bool isCsvFile(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    return name != kMergedName && EndsWith(LowerAscii(name), ".csv") && fs::is_regular_file(dir / name, ec);
}

// The folder's CSV files in name order, each ending in a line end; false (with the
// file's path) when one cannot be read.
bool joinCsvFiles(const fs::path& dir, std::string& joined, std::string& unreadable) {
    for (const std::string& name : ListDir(dir)) {
        if (!isCsvFile(dir, name)) continue;
        std::string bytes;
        if (!ReadFileBytes(dir / name, bytes)) {
            unreadable = (dir / name).string();
            return false;
        }
        if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
        joined += bytes;
    }
    return true;
}

// A line of nothing but commas, blanks and quotes is what a spreadsheet leaves of an
// empty row.
bool isEmptyCsvLine(const std::string& line) {
    return line.find_first_not_of(", \t\"") == std::string::npos;
}

// The kept lines, each with CR LF; the first kept line is the header. CR, LF and CR LF
// each end a line.
std::string mergedLines(const std::string& joined, bool dropRepeatedHeaders) {
    std::string out, header;
    bool haveHeader = false;
    for (const std::string& line : SplitLines(joined)) {
        if (isEmptyCsvLine(line)) continue;
        if (!haveHeader) {
            header = line;
            haveHeader = true;
        } else if (dropRepeatedHeaders && line == header) {
            continue;
        }
        out += line + "\r\n";
    }
    return out;
}

// Deletes the joined file however the merge ends.
struct JoinedFile {
    fs::path Path;
    ~JoinedFile() { DeleteFileAt(Path); }
};

} // namespace

bool TMainForm::MergeCsvFiles(const fs::path& folder) {
    const int answer =
        Dlg().MessageDlg("2行目以降のヘッダを外しますか？", MsgKind::Information, Btn::YesNoCancel);
    if (answer == mrCancel) {
        Dlg().ShowMessage("キャンセルされました。");
        return false;
    }
    // The old file stays until the new one has been written whole.
    const fs::path merged = folder / kMergedName;
    const JoinedFile joinedFile{folder / kJoinedName};
    std::string joined, unreadable;
    if (!joinCsvFiles(folder, joined, unreadable)) {
        Dlg().ShowMessage(unreadable + " ファイルが開けませんでした。\n");
        return false;
    }
    if (!WriteFileBytes(joinedFile.Path, joined, false) || !ReadFileBytes(joinedFile.Path, joined)) {
        Dlg().ShowMessage(joinedFile.Path.string() + " ファイルが開けませんでした。\n");
        return false;
    }
    if (!WriteFileBytes(merged, mergedLines(joined, answer == mrYes))) {
        Dlg().ShowMessage(merged.string() +
                          " ファイルが開けませんでした。\n(ファイルが開かれていませんか？)");
        return false;
    }
    return true;
}

void TMainForm::ActionMergeCSVExecute() {
    const std::string notice = Format("フォルダ内にあるcsvファイルを１つにまとめて %s を作成します。\n"
                                      "結合したくないcsvファイルをフォルダ内に入れないで下さい。\n%s "
                                      "が存在する場合は上書きされます。\n",
                                      kMergedName, kMergedName) +
                               "\nフォルダ内のCSVを一つだけ選択して下さい。";
    if (Dlg().MessageDlg(notice, MsgKind::Information, Btn::OKCancel) != mrOk) return;
    FileDialogRequest request;
    request.Filter = "CSV files (*.csv)|*.csv";
    const auto chosen = Dlg().OpenFile(request);
    if (!chosen) return;
    if (MergeCsvFiles(fs::path(*chosen).parent_path()))
        Dlg().ShowMessage(Format("%s を作成しました。", kMergedName));
}
