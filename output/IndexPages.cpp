// The mobile entry page "index.html", rebuilt from the pages that lie in the DataHTML
// folder: before the race a preparing page (leg 0), after each leg output the links of
// every leg page written so far, newest leg first, with the legs whose passing data
// are incomplete marked; a placeholder "indexPC.html" until the PC page exists.
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <array>

namespace {

TMainForm& mainForm() {
    return *MainForm;
}

constexpr int kKinds = 3, kMaxLegs = 50;

// Which leg pages lie in the folder: kind 0 team order, 1 individual order, 2 time gaps.
struct PageKindTable {
    std::array<std::array<bool, kMaxLegs + 1>, kKinds> flags{};
    bool Has(int kind, int leg) const { return flags[kind][leg]; }
};

struct FolderScan {
    PageKindTable pages;
    bool pcIndex = false, firstSheet = false, legSheet = false, mobileIndex = false;
    bool teams = false, startList = false;
};

void scanName(FolderScan& scan, const std::string& name, int k) {
    if (name.size() <= 5) return;
    auto starts = [&](const std::string& p) { return name.compare(0, p.size(), p) == 0; };
    if (starts("indexPC"))
        scan.pcIndex = true;
    else if (starts("s01"))
        scan.firstSheet = true;
    else if (starts(Format("s%02d", k)))
        scan.legSheet = true;
    else if (starts("index"))
        scan.mobileIndex = true;
    else if (starts("Kojin"))
        return;
    else if (starts("teams"))
        scan.teams = true;
    else if (starts("start"))
        scan.startList = true;
    else if (EndsWith(name, "html") && name.size() >= 7) {
        const int kind = StrToIntDef(name.substr(3, 1), 0), leg = StrToIntDef(name.substr(5, 2), 0);
        if (kind >= 0 && kind < kKinds && leg >= 0 && leg <= std::min(mainForm().KukanNum, kMaxLegs))
            scan.pages.flags[kind][leg] = true;
    }
}

std::string lateMark(const TOutputForm& w, int leg) {
    return w.IsLegColumnComplete(leg) ? std::string() : "<font color=\"red\">途</font>";
}

std::string topName(int leg, bool individual) {
    return HtmlText(mainForm().TruncateToBytes(mainForm().LegTopNameText(leg, individual), 14));
}

std::string legSections(const TOutputForm& w, const PageKindTable& pages, int k) {
    TMainForm& f = mainForm();
    std::string s = "<HR>ﾀｲﾑ差(先頭ﾁｰﾑ)<BR>";
    if (pages.Has(2, k))
        s += lateMark(w, k) +
             Format("<A HREF=\"leg%d_%02d.html\">%d区(%s)</A><BR>\n", 2, k, k, topName(k, false).c_str());
    s += "<HR>ﾁｰﾑ順(距離)<BR>\n";
    for (int j = k; j >= 1; --j)
        if (pages.Has(0, j))
            s += lateMark(w, j) +
                 Format("<A HREF=\"leg%d_%02d.html\">%d区(%gkm)</A><BR>\n", 0, j, j, LegDistanceKm(j));
    s += k == f.KukanNum && f.ResultFinal ? "<HR>個人順(区間賞)<BR>\n" : "<HR>個人順(ﾄｯﾌﾟ)<BR>\n";
    for (int j = k; j >= 1; --j)
        if (pages.Has(1, j))
            s += lateMark(w, j) +
                 Format("<A HREF=\"leg%d_%02d.html\">%d区(%s)</A><BR>\n", 1, j, j, topName(j, true).c_str());
    return s;
}

std::string mobileIndex(const TOutputForm& w, const FolderScan& scan, int k) {
    std::string s = "<HTML><HEAD><TITLE>TAVREN_Kukan</TITLE>\n";
    s += kHtmlMeta;
    s += "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\"></HEAD><BODY "
         "style=\"line-height: "
         "1.5em;\">" +
         HtmlText(Trim(mainForm().ReceName.Text())) + "<BR>";
    s += k == 0 ? "<center>只今準備中<br>\n" : legSections(w, scan.pages, k);
    if (scan.startList && scan.teams) s += "<hr><a href=\"startlist.html\">ｽﾀｰﾄﾘｽﾄ</a>\n";
    if (scan.legSheet)
        s += Format("<hr><a href=\"s%02d.html\">[PC・スマホ]</a>\n", k);
    else if (scan.firstSheet)
        s += "<hr><a href=\"s01.html\">[PC・スマホ]</a>\n";
    if (k == 0) s += "<br><br><br><br><a href=\"javascript:location.reload();\">更新する</a><br>\n";
    return s + "</BODY></HTML>";
}

std::string placeholderPcIndex(bool firstSheet) {
    std::string s = "<HTML><HEAD><TITLE>TAVREN_Kukan</TITLE></HEAD>\n";
    s += kHtmlMeta;
    s += "<BODY>\n" + HtmlText(Trim(mainForm().ReceName.Text())) +
         "<BR>最終一覧表はまだ作成されていません。<br><br>\n";
    if (firstSheet) s += "<center><a href=\"s01.html\">シート版</a>\n";
    return s + "<br><br><hr><a href=\"index.html\">携帯版</a>\n</BODY></HTML>";
}

// Pages of a later leg than k: the output of k came after them.
void warnLaterLegs(const PageKindTable& pages, int k) {
    const int legs = std::min(mainForm().KukanNum, kMaxLegs);
    for (int kind = 0; kind < kKinds; ++kind)
        for (int j = legs; j > k; --j)
            if (pages.Has(kind, j)) {
                Dlg().ShowMessage(Format("%d区まで処理済みです。\n再処理して下さい。", j));
                return;
            }
}

} // namespace

bool TOutputForm::IsLegColumnComplete(int k) const {
    const StringGrid& g = mainForm().InputGrid;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        if (Trim(g.Cells(2 * k, r)).empty()) return false;
    return true;
}

bool TOutputForm::WriteHtmlIndexPages(const std::filesystem::path& dir, int k) {
    const auto names = ListFolderNames(dir);
    if (!names) {
        Dlg().ShowMessage((dir / "").string() + "のオープンエラー");
        return false;
    }
    FolderScan scan;
    for (const std::string& name : *names)
        scanName(scan, Trim(name), k);
    if (k == 0 && scan.mobileIndex) return false;
    const std::string text = mobileIndex(*this, scan, k);
    SleepMs(100);
    const std::filesystem::path index = dir / "index.html";
    if (!WriteHtmlPage(index, text)) {
        Dlg().ShowMessage(index.string() + "が作れませんでした。ここ");
        return false;
    }
    if (!scan.pcIndex && FileExists(index)) {
        const std::filesystem::path pc = dir / "indexPC.html";
        if (!WriteHtmlPage(pc, placeholderPcIndex(scan.firstSheet))) {
            Dlg().ShowMessage(pc.string() + "が作れませんでした。ここ2");
            return false;
        }
    }
    warnLaterLegs(scan.pages, k);
    return true;
}
