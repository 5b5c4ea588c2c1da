// The overall view's pages: the PC result page "indexPC.html" from the overall grid,
// the individual page "KojinResult.html" with one column per leg in leg-time order,
// and the team page "r%d.html" of one team that the time-gap page links to.
#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <vector>

namespace {

TMainForm& mainForm() {
    return *MainForm;
}

// The overall pages report their own failed write; the driver then writes no more.
bool writeOrReport(const std::filesystem::path& path, const std::string& text) {
    if (WriteHtmlPage(path, text)) return true;
    Dlg().ShowMessage(path.string() + "の作成に失敗しました。");
    return false;
}

std::string legRecordText(int leg) {
    return Trim(mainForm().TimeToDisplayText(mainForm().KukanInfGrid.Cells(3, leg)));
}

std::string tableHead() {
    return "<TABLE cellSpacing=0 border=1>\n<TBODY>\n<TR bgcolor=\"#ffff00\">\n";
}

const char* const kTableEnd = "<TBODY>\n</TBODY></TABLE></BODY></HTML>";

// ---- indexPC.html ----

std::string pcHeaderCell(const StringGrid& g, int c) {
    TMainForm& f = mainForm();
    std::string s = "<TH>" + HtmlCell(Trim(g.Cells(c, 0))) + "<BR>";
    if (c == 0) {
        s += DistanceText(f.TotalDistance(), "距離 %gkm<BR>", "距離 %dm<BR>");
        const std::string record = f.taikaiBestGrid.Cells(3, 1);
        if (StrToIntDef(record, 0) != 0) s += "大会記録 " + f.TimeToDisplayText(record);
    } else {
        s += DistanceText(LegDistanceKm(c), "%gkm<BR>", "%dm<BR>") + legRecordText(c);
    }
    return s + "</TH>\n";
}

// Class letter and class place of the team whose number the block's first cell holds.
std::string classLine(const StringGrid& g, int r, const std::vector<TeamWorkRec>& recs, bool allClass) {
    if (!allClass) return {};
    const int t = StrToIntDef(g.Cells(0, r), 0);
    if (t < 1 || t > static_cast<int>(recs.size())) return {};
    const TeamWorkRec& rec = recs[t - 1];
    return rec.ClassPlace > 0 ? Format("%c-%d", rec.ClassLetter, rec.ClassPlace) : std::string();
}

std::string pcTeamRow(const StringGrid& g, int r, const std::vector<TeamWorkRec>& recs, bool allClass) {
    std::string s = "<TR vAlign=center align=middle>";
    for (int c = 0; c < g.ColCount(); ++c) {
        s += c == 0 ? "<TD align=left>" : "<TD>";
        for (int k = 0; k < 3; ++k) {
            std::string line;
            if (c > 0)
                line = HtmlCell(Trim(g.Cells(c, r + k)));
            else if (k == 0)
                line = classLine(g, r, recs, allClass);
            else
                line = (k == 1 ? "　" : "　　　") + HtmlCell(Trim(g.Cells(0, r + k)));
            s += line;
            if (k < 2 && !line.empty()) s += "<BR>";
        }
        s += "</TD>";
    }
    return s + "</TR>\n";
}

// ---- KojinResult.html ----

struct KojinEntry {
    int team = 0, place = 0, time = 0;
};

// One query per leg: the leg's runners in leg-time order.
std::vector<KojinEntry> legEntries(int leg) {
    const std::string tp = LegFieldText("Tplace", leg), kp = LegFieldText("Kplace", leg);
    const std::string kt = LegFieldText("Ktime", leg);
    DataQuery q =
        RaceQuery(Format("SELECT TeamID, %s, %s FROM temptable.db WHERE %s <1000 and %s <1000 AND %s>0 "
                         "ORDER BY %s, %s, TeamID",
                         kp.c_str(), kt.c_str(), tp.c_str(), kp.c_str(), kt.c_str(), kt.c_str(), kp.c_str()));
    std::vector<KojinEntry> out;
    for (; !q.Eof(); q.Next())
        out.push_back({q.Field("TeamID").AsInteger(), q.Field(kp).AsInteger(), q.Field(kt).AsInteger()});
    return out;
}

std::string kojinCell(const KojinEntry& e, int leg) {
    if (e.team == 0) return "<TD></TD>";
    TMainForm& f = mainForm();
    const int remark = f.RunnerRemark(e.team, leg);
    std::string result;
    if (remark == 1)
        result = Format("%s(%s)", PaddedMarkText(e.time).c_str(), "OP");
    else if (remark >= 2)
        result = RemarkLabel(remark);
    else
        result = Format("%s(%d)", PaddedMarkText(e.time).c_str(), e.place);
    return "<TD>" + HtmlText(f.RunnerNameText(e.team, leg, 0)) + "<BR>" +
           HtmlText(f.TeamEntryGrid.Cells(1, e.team)) + "<BR>" + result + "</TD>";
}

// ---- r%d.html ----

std::string teamLine(int t, int place, int total, int legs) {
    TMainForm& f = mainForm();
    const int m = f.MaxRunnerRemark(t, legs);
    std::string placeText = IntToStr(place), time = PaddedMarkText(total);
    if (place == NoPlace) {
        placeText = "OP";
        if (m >= 2) time = RemarkLabel(m);
    }
    const int rc = CompareTaikaiRecord(total, legs);
    const std::string mark = rc > 0 && m == 0 ? RecordMark(rc) : std::string();
    return Format("%s<br>(%s)<br>\n[%s]%s%s<hr>\n", HtmlText(f.TeamFieldText(t, 0)).c_str(), "ﾁｰﾑ成績",
                  placeText.c_str(), mark.c_str(), time.c_str());
}

std::string runnerLine(const ResultImage& img, int row, int t, int n, const std::string& name) {
    TMainForm& f = mainForm();
    const int kp = img.Get(row, LegField::Kplace, n), kt = img.Get(row, LegField::Ktime, n);
    const std::string place = kp == NoPlace ? std::string("OP") : IntToStr(kp);
    const int rr = kp == NoPlace ? f.RunnerRemark(t, n) : 0; // only an unplaced runner shows a remark
    const std::string time = rr >= 2 ? RemarkLabel(rr) : PaddedMarkText(kt);
    const int rc = CompareLegRecord(kt, n);
    const std::string mark = rc > 0 ? RecordMark(rc) : std::string();
    const std::string prize = kp == 1 ? "★" : QueryClassLegRanking(t, n) > 0 ? "◇" : "";
    return Format("%d %s<br>\n%s%s%s(%s)<hr>\n", n, HtmlText(name).c_str(), mark.c_str(), prize.c_str(),
                  time.c_str(), place.c_str());
}

} // namespace

bool TOutputForm::PutIndexPC(const std::filesystem::path& path) {
    TMainForm& f = mainForm();
    const StringGrid& g = OutputTTLGrid;
    std::string s = "<HTML><HEAD><TITLE>TAVREN</TITLE></HEAD>\n";
    s += kHtmlMeta;
    s += "<BODY>\n<CENTER>\n" + HtmlCell(ResultTTL.Caption()) + "<BR>";
    for (const std::string& line : f.OrgName.Lines())
        s += HtmlText(line) + "<BR>";
    s += HtmlDateLine();
    s += "<A HREF =\"KojinResult.html\">[個人成績はこちら]</A> <A HREF "
         "=\"s01.html\">[シート版はこちら]</A><BR>\n"
         "<A HREF =\"index.html\">[携帯版はこちら]</A><BR>\n";
    s += tableHead();
    for (int c = 0; c < g.ColCount(); ++c)
        s += pcHeaderCell(g, c);
    std::vector<TeamWorkRec> recs(f.TeamNum);
    const bool allClass = QueryGapRanking(recs);
    for (int r = 1; r < g.RowCount(); r += 3)
        s += pcTeamRow(g, r, recs, allClass);
    return writeOrReport(path, s + kTableEnd);
}

bool TOutputForm::PutKojinResult(const std::filesystem::path& path) {
    TMainForm& f = mainForm();
    const int legs = f.KukanNum;
    std::vector<std::vector<KojinEntry>> table(legs + 1);
    for (int n = 1; n <= legs; ++n) {
        table[n] = legEntries(n);
        table[n].resize(std::max(RankedTeamCount, 0));
    }
    std::string s = "<HTML><HEAD><TITLE>TAVREN_Kojin</TITLE></HEAD>\n";
    s += kHtmlMeta;
    s += "<BODY>\n<CENTER>\n" + HtmlText(Trim(f.ReceName.Text())) + "<BR>個人成績<BR>" + HtmlDateLine();
    s += tableHead();
    for (int n = 1; n <= legs; ++n)
        s += "<TH>" + IntToStr(n) + "区<BR>" + DistanceText(LegDistanceKm(n), "%gkm<BR>", "%dm<BR>") +
             legRecordText(n) + "</TH>\n";
    for (int j = 0; j < RankedTeamCount; ++j) {
        s += "<TR vAlign=center align=middle>";
        for (int n = 1; n <= legs; ++n)
            s += kojinCell(table[n][j], n);
        s += "</TR>\n";
    }
    return writeOrReport(path, s + kTableEnd);
}

bool TOutputForm::PutTeamPages(int t) {
    return WriteTeamPage(ResultImage::Load(RaceDb(), kTeamPageFields), t);
}

// A team page needs the team's row, ranked at the first relay point and placed at the finish.
bool WriteTeamPage(const ResultImage& img, int t) {
    TMainForm& f = mainForm();
    const int legs = f.KukanNum, row = img.RowOfTeam(t);
    if (row < 0 || img.Legs() < legs || img.Get(row, LegField::Tplace, 1) >= OutOfRanking) return false;
    const int place = img.Get(row, LegField::Tplace, legs);
    if (place >= OutOfRanking) return false;
    std::string s = Format("<HTML><HEAD><TITLE>%s</TITLE></HEAD>\n", "ﾁｰﾑ成績");
    s += kHtmlMeta;
    s += "<BODY>\n" + teamLine(t, place, img.Get(row, LegField::Ttime, legs), legs);
    // A runner name is empty in every mode alike: one lookup per runner.
    for (int n = 1; n <= legs; ++n)
        if (const std::string name = f.RunnerNameText(t, n, 1); !name.empty())
            s += runnerLine(img, row, t, n, name);
    s += "</BODY></HTML>";
    return f.WriteDataHtmlFile(s, Format("r%d.html", t));
}
