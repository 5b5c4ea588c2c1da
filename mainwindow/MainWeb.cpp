// The main window's side of the web pages: writing a page into the DataHTML folder,
// opening the mobile and PC entry pages in the browser, and deleting everything that
// was published (pages, and the csv and txt exports of its csv folder).
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "platform/Dates.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <chrono>
#include <ctime>
#include <exception>

namespace {

// The calendar day (local time) of the file's last write; null when it cannot be read.
Date lastWriteDate(const fs::path& p) {
    std::error_code ec;
    const auto ft = fs::last_write_time(p, ec);
    if (ec) return {};
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(ft));
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

// Files and links only: a folder whose name looks like a page is never removed.
bool deleteEntry(const fs::path& p) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || fs::is_directory(st)) return false;
    if (!fs::is_regular_file(st) && !fs::is_symlink(st)) return false;
    return fs::remove(p, ec) && !ec;
}

void openPage(const fs::path& path) {
    if (FileExists(path))
        ShellSvc().OpenDocument(path.string());
    else
        Dlg().ShowMessage(path.string() + " が見つかりません");
}

bool confirmed(const std::string& question) {
    return Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) == mrYes;
}

} // namespace

void TMainForm::wireWebHandlers() {
    showHtml.SetHint("携帯Html確認");
    showHtmlPC.SetHint("PChtml確認");
    killHtml.SetHint("html ﾌｧｲﾙ削除");
    showHtml.OnExecute = [this] { showHtmlExecute(); };
    showHtmlPC.OnExecute = [this] { showHtmlPCExecute(); };
    killHtml.OnExecute = [this] { killHtmlExecute(); };
    startListWeb.OnExecute = [this] { startListWebClick(); };
}

bool TMainForm::WriteDataHtmlFile(const std::string& text, const std::string& fileName) {
    MakeDataHtmlFolder();
    const fs::path path = HtmlFolder() / fileName;
    if (WriteHtmlPage(path, text)) return true;
    Dlg().ShowMessage(path.string() + "の作成に失敗しました。");
    return false;
}

void TMainForm::showHtmlExecute() {
    openPage(HtmlFolder() / "index.html");
}
void TMainForm::showHtmlPCExecute() {
    openPage(HtmlFolder() / "s01.html");
}

void TMainForm::killHtmlExecute() {
    const fs::path dir = HtmlFolder();
    if (!DirectoryExists(dir)) {
        Dlg().ShowMessage(dir.string() + " が見つかりません");
        return;
    }
    try {
        const fs::path index = dir / "index.html";
        // Pages of the race day itself are still being read: one more question.
        if (FileExists(index) && lastWriteDate(index) == StrToDate(Trim(taikaiBestGrid.Cells(1, 1))) &&
            !confirmed("大会当日作成のHTMLﾌｧｲﾙですが削除しますか？"))
            return;
    } catch (const std::exception& e) {
        Dlg().ShowException(e.what());
        return;
    }
    if (!confirmed(dir.string() + " 内のhtmlﾌｧｲﾙを削除しても良いですか？元には戻せません?")) return;
    int count = DeleteHtmlFiles(dir);
    if (DirectoryExists(dir / "tres")) count += DeleteHtmlFiles(dir / "tres");
    Dlg().ShowMessage(Format("%d 個のhtmlﾌｧｲﾙを削除しました。", count));
    count = 0;
    const fs::path csv = dir / "csv";
    if (DirectoryExists(csv)) count = DeleteFilesWithExt(csv, ".csv") + DeleteFilesWithExt(csv, ".txt");
    Dlg().ShowMessage(Format("%d 個のcsv, txt ﾌｧｲﾙを削除しました。", count));
}

int TMainForm::DeleteHtmlFiles(const fs::path& folder) {
    return DeleteFilesWithExt(folder, ".html");
}

int TMainForm::DeleteFilesWithExt(const fs::path& folder, const std::string& ext) {
    const auto names = ListFolderNames(folder);
    if (!names) {
        Dlg().ShowMessage(folder.string() + "のオープンエラー");
        return 0;
    }
    int count = 0;
    for (const std::string& name : *names)
        if (name.find(ext) != std::string::npos && deleteEntry(folder / Trim(name))) ++count;
    return count;
}
