// The sheet pages "s%02d.html": the leg view of the result window as an HTML table,
// one page per leg with a bar of links to every leg and the PC index; before any
// result the start-list pages ask for a placeholder s01.html.
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <exception>

namespace {

TMainForm& mainForm() {
    return *MainForm;
}

enum SheetCol { ColPassPlace = 0, ColNumber = 1, ColTeam = 2, ColRunner = 4, ColLegPlace = 5 };

const char* const kSheetHead =
    "<html><head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift-jis\" "
    "style=\"overflow-x:hidden;\">\n"
    "<title></title></head>\n"
    "    <style type=\"text/css\">\n"
    "table{border: solid 1px; border-collapse: collapse;}\n"
    "h1{margin-top: 0; margin-bottom: 0;}\n"
    "h2{margin-top: 0; margin-bottom: 0;}\n"
    "h3{margin-top: 0; margin-bottom: 0;}\n"
    "th{border: solid 1px; text-align:center;vertical-align: center;}\n"
    "td{border: solid 1px; text-align:right;vertical-align: center; padding: 1px 10px 1px 10px;}\n"
    ".rt{text-align:right;vertical-align:top;}\n"
    ".lt{text-align:left;vertical-align:top;}\n"
    "</style>\n"
    "<body>\n";

std::string navigation(bool links) {
    std::string s = std::string(kSheetHead) + "<hr>\n";
    for (int j = 1; j <= mainForm().KukanNum; ++j)
        s += links ? Format("<a href='s%02d.html'>[第 %d 区]</a> ", j, j) : Format("[第 %d 区] ", j);
    return s + "<a href='indexPC.html'>[一覧表]</a><hr>\n";
}

std::string sheetPath(int leg) {
    return (HtmlFolder() / Format("s%02d.html", leg)).string();
}

// Team and runner cells get the reading above the name; a number naming no team none.
std::string sheetCell(const StringGrid& g, int c, int r, int team, int k) {
    TMainForm& f = mainForm();
    std::string text = HtmlCell(g.Cells(c, r));
    if (team > 0 && c == ColTeam) {
        const std::string kana = f.TeamFieldText(team, 1);
        if (!kana.empty()) text = HtmlText(kana) + "<br>" + text;
    } else if (team > 0 && c == ColRunner) {
        const std::string kana = f.RunnerKanaName(team, k, 0);
        if (!kana.empty()) text = HtmlText(kana) + "<br>" + text;
    }
    if (!f.ResultFinal && (c == ColPassPlace || c == ColLegPlace)) text += "<font color=red> ?</font>";
    return text;
}

std::string sheetRow(const StringGrid& g, int r, int k) {
    const int number = StrToIntDef(g.Cells(ColNumber, r), 0);
    const int team = number > 0 ? mainForm().FindTeamRowByAlias(number) : 0;
    std::string s = "<TR><TD>";
    for (int c = 0; c < g.ColCount(); ++c) {
        s += sheetCell(g, c, r, team, k) + "</TD>";
        if (c + 1 < g.ColCount()) s += c == ColNumber || c == 3 ? "<TD style=text-align:left>" : "<TD>";
    }
    return s + "</TR>\n";
}

std::string legSheet(const StringGrid& g, const std::string& nav, int k) {
    TMainForm& f = mainForm();
    std::string s = nav;
    if (!f.ResultFinal) s += "<h3><font color=red>（※途中情報)</font></h2>";
    s += "<h3>" + HtmlText(Trim(f.ReceName.Text())) + "</h3>" + Format("<h1>第 %d 区</h1>\n", k);
    s += DistanceText(LegDistanceKm(k), "距離 %gkm", "距離 %dm");
    s += "<table><TR>";
    for (int c = 0; c < g.ColCount(); ++c)
        s += "<TH>" + HtmlCell(g.Cells(c, 0)) + "</TH>";
    s += "</TR>\n";
    for (int r = 1; r < g.RowCount(); ++r)
        s += sheetRow(g, r, k);
    s += "</table>\n凡例：　★=区間賞、";
    if (f.AllTeamsHaveClass()) s += "◇=ｸﾗｽ賞、";
    s += "◎=新、▽=タイ";
    if (!f.ResultFinal) s += "、<font color=red>?</font> = 暫定";
    return s + "</body><br><html>\n";
}

} // namespace

bool TOutputForm::WriteHtmlFile(const std::filesystem::path& path, const std::string& text) {
    MakeHtmlFolder();
    return WriteHtmlPage(path, text);
}

bool TOutputForm::PutSheetHtml(int leg) {
    // The batch runs this before its own outputs: a folder that cannot be made is
    // reported here and the batch goes on.
    try {
        return putSheetPages(leg);
    } catch (const std::exception& e) {
        Dlg().ShowException(e.what());
        return false;
    }
}

bool TOutputForm::putSheetPages(int leg) {
    if (leg == 0) return true;
    if (leg < 0) {
        const std::string page =
            navigation(false) + "<br><center>只今準備中です。<br>ここでシート版リザルト表示されます。"
                                "<br><br><br><br><a href=\"javascript:location.reload();\">更新する</a><br>\n"
                                "</body><br><html>\n";
        const std::string path = sheetPath(1);
        const bool written = WriteHtmlFile(path, page);
        Dlg().ShowMessage(written ? path + "\nを作成しました。" : path + " の作成に失敗しました。");
        return written;
    }
    const std::string nav = navigation(true);
    bool written = true;
    // Legs not run yet get pages that carry only the navigation.
    for (int j = leg + 1; j <= mainForm().KukanNum; ++j)
        written = WriteHtmlFile(sheetPath(j), nav + "</body><html>\n") && written;
    return WriteHtmlFile(sheetPath(leg), legSheet(OutputGrid, nav, leg)) && written;
}
