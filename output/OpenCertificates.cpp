// Opening a saved certificate document: the font pass on its font table, the prize
// printer made the default while the document's program runs, and the wait for that
// program (and for the office suite's lock file, whose window may outlive the launcher).
#include "output/OpenCertificates.h"

#include "database/Comparators.h"
#include "database/TimeCodes.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Dates.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <chrono>

namespace {

constexpr size_t kMaxPathChars = 1025;
constexpr const char* kFontTable = "{\\fonttbl";
constexpr int kPollMs = 200;

// The byte range of each font name in the font table: after the entry's control
// words, up to the ';' that ends it. False when the document has no font table.
bool fontNameRanges(const std::string& doc, std::vector<std::pair<size_t, size_t>>& ranges) {
    size_t i = doc.find(kFontTable);
    if (i == std::string::npos) return false;
    i += std::string(kFontTable).size();
    while (i < doc.size() && doc[i] == '{') {
        ++i;
        // Control words: a backslash, letters, an optional number and one optional blank.
        while (i + 1 < doc.size() && doc[i] == '\\' && std::isalpha(static_cast<unsigned char>(doc[i + 1]))) {
            ++i;
            while (i < doc.size() && (std::isalnum(static_cast<unsigned char>(doc[i])) || doc[i] == '-'))
                ++i;
            if (i < doc.size() && doc[i] == ' ') ++i;
        }
        const size_t end = doc.find(';', i);
        if (end == std::string::npos || end + 1 >= doc.size() || doc[end + 1] != '}') return false;
        ranges.emplace_back(i, end);
        i = end + 2;
    }
    return !ranges.empty() && i < doc.size() && doc[i] == '}';
}

// Runs the viewer and waits for it, then for its lock file; false when it did not start.
bool runViewer(const std::vector<std::string>& argv, const std::filesystem::path& doc, int graceMs) {
    bool started = false;
    Dlg().RunMinimised([&] {
        const auto t0 = std::chrono::steady_clock::now();
        started = ShellSvc().RunAndWait(argv[0], {argv.begin() + 1, argv.end()}) != -1;
        if (!started) return;
        const auto ran = std::chrono::steady_clock::now() - t0;
        if (ran < std::chrono::milliseconds(graceMs))
            for (int waited = 0; waited < graceMs && !FileExists(OfficeLockFile(doc)); waited += kPollMs)
                SleepMs(kPollMs);
        while (FileExists(OfficeLockFile(doc)))
            SleepMs(kPollMs);
    });
    return started;
}

} // namespace

bool FixRtfFontWithWord(TOutputForm&, const std::filesystem::path& path, const std::string& fontName) {
    if (IsKnownRtfFont(fontName)) return true;
    std::string doc;
    if (!ReadFileBytes(path, doc)) {
        Dlg().ShowException("Cannot open file " + path.string());
        return false;
    }
    std::vector<std::pair<size_t, size_t>> ranges;
    if (!HasSjisForm(fontName) || !fontNameRanges(doc, ranges)) {
        Dlg().ShowException(path.string() + ": フォント表を書き換えられません。");
        return false;
    }
    const std::string name = ToSjis(RtfFontTableName(fontName));
    // From the back, so the earlier ranges stay where they are.
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it)
        doc.replace(it->first, it->second - it->first, name);
    if (!WriteFileBytes(path, doc)) {
        Dlg().ShowException("Cannot create " + path.string());
        return false;
    }
    return true;
}

void OpenDocumentAndWait(TOutputForm& form, const std::filesystem::path& path) {
    if (ToU32(path.string()).size() >= kMaxPathChars) {
        Dlg().ShowMessage("ファイル名が長すぎます");
        return;
    }
    if (MainForm->PRTCHG_NO) {
        ShellSvc().OpenDocument(path.string());
        return;
    }
    const std::string& prize = form.PrizeSettings.prnName;
    form.SavedPrinterName = CurrentPrinterName();
    const bool switched = !prize.empty() && prize != form.SavedPrinterName && SetDefaultPrinter(prize);
    const std::vector<std::string> argv = ShellSvc().OpenCommand(path.string());
    const bool ran = !argv.empty() && runViewer(argv, path, form.LockGraceMs);
    // Back also after a failed launch: the desk's other printing must not go to the prize
    // printer. A desk that had no default gets none again.
    if (switched && form.SavedPrinterName.empty())
        PrinterSvc().ClearDefault(prize);
    else if (switched)
        SetDefaultPrinter(form.SavedPrinterName);
    if (!ran) Dlg().ShowMessage("Could not create process\n" + path.string());
}

void FinishCertificates(TOutputForm& form, const std::filesystem::path& path, const RtfLines& lines) {
    if (!SaveRtf(path, lines)) return;
    if (FixRtfFontWithWord(form, path, form.PrizeSettings.fontName))
        OpenDocumentAndWait(form, path);
    else
        Dlg().ShowMessage(path.string() + "\nのフォント設定に失敗しました。");
}

std::optional<std::string> CertificateDateText(const TOutputForm& form) {
    const std::string cell = Trim(MainForm->taikaiBestGrid.Cells(1, 1));
    if (cell.empty()) return std::string();
    try {
        return DateTextToKanji(cell, form.PrizeSettings.DDispOpt + 2);
    } catch (const ConvertError& e) {
        Dlg().ShowException(e.what());
        return std::nullopt;
    }
}
