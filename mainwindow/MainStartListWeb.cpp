// The start list on the web, from the team entry page before the race: "startlist.html"
// (one link per team) and "teams.html" (every team with its runners under an anchor of
// its number), in the order of the numbers shown; then the placeholder sheet page and
// the preparing index page.
#include "database/Comparators.h"
#include "database/TeamWorkRec.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <exception>
#include <vector>

namespace {

constexpr int kAliasCol = 3, kOpCol = 4;

// Teams by the number shown, absent teams left out.
std::vector<TeamWorkRec> shownTeams(const TMainForm& f) {
    std::vector<TeamWorkRec> recs;
    for (int t = 1; t <= f.TeamNum; ++t) {
        TeamWorkRec r;
        r.TeamNo = t;
        const int alias = StrToIntDef(f.TeamEntryGrid.Cells(kAliasCol, t), 0);
        r.AliasNo = alias != 0 ? alias : t;
        r.State = StrToIntDef(f.TeamEntryGrid.Cells(kOpCol, t), 0);
        recs.push_back(r);
    }
    OutputForm->WorkSortMode = 3;
    SortTeamWorkRecs(recs, OutputForm->WorkSortMode);
    std::erase_if(recs, [](const TeamWorkRec& r) { return r.State == 2; });
    return recs;
}

std::string startListPage(const TMainForm& f, const std::vector<TeamWorkRec>& teams,
                          const std::string& title) {
    std::string s = Format("<HTML><HEAD><TITLE>%s</TITLE></HEAD>\n", title.c_str());
    s += kHtmlMeta;
    s += "<BODY alink=\"red\" vlink=\"blue\">\n";
    for (const TeamWorkRec& r : teams)
        s += Format("<A HREF=\"teams.html#%02d\">%d %s</A><br>\n", r.TeamNo, r.AliasNo,
                    HtmlText(f.TeamFieldText(r.TeamNo, 0)).c_str());
    return s + "</BODY></HTML>";
}

std::string teamsPage(const TMainForm& f, const std::vector<TeamWorkRec>& teams, const std::string& title,
                      bool isOrder) {
    const int slots = f.KukanNum + (isOrder ? 0 : f.HoketuNum);
    std::string s = Format("<HTML><HEAD><TITLE>%s</TITLE></HEAD>\n", title.c_str());
    s += kHtmlMeta;
    s += "<BODY>\n";
    for (const TeamWorkRec& r : teams) {
        const int t = r.TeamNo;
        s += Format("<hr><a name=\"%02d\">\n%d %s<br>(%s)<br><br>\n", t, r.AliasNo,
                    HtmlText(f.TeamFieldText(t, 0)).c_str(), title.c_str());
        // A runner name is empty in every mode alike: one lookup per runner.
        for (int j = 1; j <= slots; ++j) {
            const std::string name = HtmlText(Trim(f.RunnerNameText(t, j, 1)));
            if (name.empty()) continue;
            s += isOrder ? Format("%d %s<br>\n", j, name.c_str()) : name + "<br>";
        }
    }
    return s + "</BODY></HTML>";
}

} // namespace

void TMainForm::startListWebClick() {
    const bool order = Dlg().MessageDlg("ｵｰﾀﾞｰ決定ですか?", MsgKind::Confirmation, Btn::YesNo) == mrYes;
    // A DataHTML folder that cannot be made ends the action with its message.
    try {
        WriteStartListPages(order ? 1 : 0);
    } catch (const std::exception& e) {
        Dlg().ShowException(e.what());
    }
}

void TMainForm::WriteStartListPages(int isOrder) {
    const std::string title = isOrder ? "ｵｰﾀﾞｰ" : "ｴﾝﾄﾘｰ";
    const std::vector<TeamWorkRec> teams = shownTeams(*this);
    // Each page tells its own failure and the others are still written; the closing
    // message only when every one was.
    bool written = WriteDataHtmlFile(startListPage(*this, teams, title), "startlist.html");
    written = WriteDataHtmlFile(teamsPage(*this, teams, title, isOrder != 0), "teams.html") && written;
    written = OutputForm->PutSheetHtml(-1) && written;
    if (written) Dlg().ShowMessage(Format("%sWebファイルを作成しました。", title.c_str()));
    if (OutputForm->WriteHtmlIndexPages(HtmlFolder(), 0))
        Dlg().ShowMessage("準備中ｲﾝﾃﾞｯｸｽﾌｧｲﾙを作成しました。");
}
