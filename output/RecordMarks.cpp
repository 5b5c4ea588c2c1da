#include "output/RecordMarks.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace {

constexpr int kRecordCol = 3;

// A record of 0 or empty is no record, so the first results can set one.
int compareWithRecord(int time, const std::string& recordText) {
    const int code = StrToIntDef(recordText, 0);
    if (code == 0) return kNoRecordSet;
    if (time == 0) return kNotBeaten;
    const int record = MainForm->TimeDigitsToSeconds(code);
    if (time < record) return kNewRecord;
    return time == record ? kRecordEqualled : kNotBeaten;
}

const std::string& pick(const std::vector<std::string>& table, int index) {
    static const std::string empty;
    return index >= 0 && index < static_cast<int>(table.size()) ? table[index] : empty;
}

} // namespace

int CompareLegRecord(int time, int leg) {
    return compareWithRecord(time, MainForm->KukanInfGrid.Cells(kRecordCol, leg));
}

int CompareTaikaiRecord(int total, int leg) {
    if (leg != MainForm->KukanNum || total == 0) return kNotBeaten;
    return compareWithRecord(total, MainForm->taikaiBestGrid.Cells(kRecordCol, 1));
}

std::string RemarkLabel(int remark) {
    static const std::vector<std::string> t{"", "OP", "記録なし", "記録なし"};
    return pick(t, remark);
}

std::string PrizeMark(int kind) {
    static const std::vector<std::string> t{"", "★", "◇"};
    return pick(t, kind);
}

std::string RecordMark(int compare) {
    static const std::vector<std::string> t{"", "  ", "◎", "▽"};
    return pick(t, compare + 1);
}

void SortPairs(int keys[], int values[], int n) {
    if (n < 2) return;
    std::vector<int> idx(n);
    std::iota(idx.begin(), idx.end(), 0);
    std::stable_sort(idx.begin(), idx.end(), [keys](int a, int b) { return keys[a] < keys[b]; });
    std::vector<int> k(n), v(n);
    for (int i = 0; i < n; ++i) {
        k[i] = keys[idx[i]];
        v[i] = values[idx[i]];
    }
    std::copy(k.begin(), k.end(), keys);
    std::copy(v.begin(), v.end(), values);
}

int KmToMetres(float km) {
    const double m = std::round(static_cast<double>(km) * 1000.0);
    if (!std::isfinite(m) || m > std::numeric_limits<int>::max() || m < std::numeric_limits<int>::min()) return 0;
    return static_cast<int>(m);
}

std::filesystem::path HtmlFolder() { return MainForm->DataFolder / "DataHTML"; }
std::filesystem::path HtmlCsvFolder() { return HtmlFolder() / "csv"; }

CreateFolderError::CreateFolderError(const std::filesystem::path& dir)
    : std::runtime_error((dir / "").string() + " の作成に失敗しました。" +
                         (FileExists(dir) ? "\n同じ名前のファイルがあります。" : "")) {}

// Without an open race the folder would land in the working folder.
void MakeOutputFolder(const std::filesystem::path& dir) {
    if (MainForm->DataFolder.empty()) throw CreateFolderError(dir);
    if (DirectoryExists(dir)) return;
    if (!CreateDir(dir)) throw CreateFolderError(dir);
}

void MakeHtmlFolder() {
    MakeOutputFolder(HtmlFolder());
    MakeOutputFolder(HtmlCsvFolder());
}
