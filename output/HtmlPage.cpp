#include "output/HtmlPage.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TextFile.h"
#include "platform/Dates.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

std::string escape(const std::string& s, bool quotes) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            if (quotes) {
                out += "&quot;";
                break;
            }
            [[fallthrough]];
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

const char* const kHtmlMeta = "<META http-equiv=Content-Type content=\"text/html; charset=shift_jis\">\n";

std::string HtmlText(const std::string& s) {
    return escape(s, true);
}
std::string HtmlCell(const std::string& s) {
    return escape(s, false);
}

bool WriteHtmlPage(const fs::path& path, const std::string& utf8) {
    return WriteTextFile(path, utf8, {.charRefs = true, .sync = false});
}

std::string HtmlDateLine() {
    const Date d = StrToDate(Trim(MainForm->taikaiBestGrid.Cells(1, 1)));
    return Format("とき:%d年%d月%d日<BR>", d.Year, d.Month, d.Day);
}

double LegDistanceKm(int leg) {
    return StrToFloatDef(Trim(MainForm->KukanInfGrid.Cells(2, leg)), 0);
}

std::string DistanceText(double km, const char* fmtKm, const char* fmtM) {
    if (MainForm->chk100.Checked()) return Format(fmtM, KmToMetres(static_cast<float>(km)));
    return Format(fmtKm, km);
}

std::string MarkText(int seconds) {
    return Trim(MainForm->SecondsToMarkText(seconds));
}

std::string PaddedMarkText(int seconds) {
    return MainForm->SecondsToMarkText(seconds);
}

std::string LegFieldText(const char* name, int leg) {
    return Format("%s_%d", name, leg);
}

void MakeDataHtmlFolder() {
    MakeOutputFolder(HtmlFolder());
}

std::optional<std::vector<std::string>> ListFolderNames(const fs::path& dir) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return std::nullopt;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
