// The mobile pages of one leg: the leg page "leg%d_%02d.html" in team (0) or
// individual (1) order, and the time-gap page "leg2_%02d.html" with every team's gap
// to the leader and to the team in front, which on the last leg with final results
// can first write the team pages.
#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

TMainForm& mainForm() {
    return *MainForm;
}

// The leg-k fields of one work-table row.
struct LegRow {
    int team, kp, kt, tt, tp, adj;
};

LegRow legRow(const DataQuery& q, int k) {
    auto v = [&](const char* name) { return q.Field(LegFieldText(name, k)).AsInteger(); };
    return {q.Field("TeamID").AsInteger(), v("Kplace"), v("Ktime"), v("Ttime"), v("Tplace"), v("AdjSw")};
}

// The row's leg-k fields only: 200 rows of every leg's fields are slow to copy.
std::string legColumns(int k) {
    return Format("TeamID, Kplace_%d, Ktime_%d, Ttime_%d, Tplace_%d, AdjSw_%d", k, k, k, k, k);
}

// Team order: placed at leg k with a leg time, by total time.
DataQuery teamOrderRows(int k) {
    const std::string kp = LegFieldText("Kplace", k), kt = LegFieldText("Ktime", k);
    const std::string tt = LegFieldText("Ttime", k), tp = LegFieldText("Tplace", k);
    return RaceQuery(Format("SELECT %s FROM temptable.db WHERE %s<1000 AND %s>0 ORDER BY %s, %s, TeamID",
                            legColumns(k).c_str(), kp.c_str(), kt.c_str(), tt.c_str(), tp.c_str()));
}

DataQuery individualOrderRows(int k) {
    const std::string kp = LegFieldText("Kplace", k), kt = LegFieldText("Ktime", k);
    const std::string tt = LegFieldText("Ttime", k);
    return RaceQuery(
        Format("SELECT %s FROM temptable.db WHERE %s<1000 AND %s>0 AND %s>0 ORDER BY %s, %s, TeamID",
               legColumns(k).c_str(), kp.c_str(), kt.c_str(), tt.c_str(), kt.c_str(), kp.c_str()));
}

std::string withMark(int compare, const std::string& text) {
    return compare > 0 ? RecordMark(compare) + text : text;
}

std::string prizeMark(const LegRow& r, int k, bool classRank) {
    if (!mainForm().ResultFinal) return {};
    if (r.kp == 1) return "★";
    if (r.kp > 1 && r.kp < NoPlace && classRank && QueryClassLegRanking(r.team, k) > 0) return "◇";
    return {};
}

std::string legPlacePrefix() {
    return mainForm().ResultFinal ? "区間" : "着内";
}

std::string legPageHead(int k, bool classRank) {
    TMainForm& f = mainForm();
    std::string s = "<HTML><HEAD><TITLE>TAVREN_leg" + IntToStr(k) + "</TITLE></HEAD>\n";
    s += kHtmlMeta;
    s += "<BODY>\n第" + IntToStr(k) + "区";
    if (k == f.KukanNum) s += "(最終区)";
    s += "<BR>\n" + DistanceText(LegDistanceKm(k), "距離%gkm<BR>\n", "距離%dm<BR>\n");
    const int record = StrToIntDef(f.KukanInfGrid.Cells(3, k), 0);
    if (record != 0) s += "区間記録" + PaddedMarkText(f.TimeDigitsToSeconds(record)) + "<BR>\n";
    if (!f.ResultFinal) {
        s += "<font color=\"red\">-途中情報-</font><br>\n";
    } else {
        s += "-確定-<br>★=区間賞";
        if (classRank) s += ",◇=ｸﾗｽ賞";
        s += "<br>";
    }
    return s + "◎=新,▽=ﾀｲ<BR>";
}

std::string teamOrderEntry(const LegRow& r, int k, bool classRank) {
    TMainForm& f = mainForm();
    const bool last = k == f.KukanNum;
    const int m = f.MaxRunnerRemark(r.team, k), rr = f.RunnerRemark(r.team, k);
    std::string legText = withMark(CompareLegRecord(r.kt, k), MarkText(r.kt));
    std::string total = last ? withMark(CompareTaikaiRecord(r.tt, k), MarkText(r.tt)) : MarkText(r.tt);
    std::string legPlace = "OP", place = "OP";
    if (r.kp == NoPlace) {
        if (rr >= 2) legText = RemarkLabel(rr);
    } else {
        legPlace = Format("%s%d%s", legPlacePrefix().c_str(), r.kp, "位");
    }
    if (r.tp == NoPlace) {
        if (m >= 2) total = RemarkLabel(m);
    } else {
        place = Format("%d%s", r.tp, f.ResultFinal ? "位" : "着");
    }
    const std::string team = HtmlText(f.TeamFieldText(r.team, 0));
    const std::string runner = HtmlText(Trim(f.RunnerNameText(r.team, k, 1)));
    const std::string prize = prizeMark(r, k, classRank);
    if (k == 1)
        return Format("%s %s<BR>%s<BR>%s%s<HR>\n", place.c_str(), team.c_str(), legText.c_str(),
                      prize.c_str(), runner.c_str());
    return Format("%s %s<BR>%s<BR>%s%s<BR>%s<BR>%s<HR>\n", place.c_str(), team.c_str(), total.c_str(),
                  prize.c_str(), runner.c_str(), legText.c_str(), legPlace.c_str());
}

std::string individualEntry(const LegRow& r, int k, bool classRank) {
    TMainForm& f = mainForm();
    std::string s =
        r.kp == NoPlace ? std::string("OP<BR>") : Format("%s%d位<BR>", legPlacePrefix().c_str(), r.kp);
    s += prizeMark(r, k, classRank) + HtmlText(Trim(f.RunnerNameText(r.team, k, 1))) + "<BR>(" +
         HtmlText(f.TeamEntryGrid.Cells(1, r.team)) + ")<BR>";
    const int rc = CompareLegRecord(r.kt, k);
    if (rc > 0) s += RecordMark(rc);
    const int rr = f.RunnerRemark(r.team, k);
    return s + (rr >= 2 ? RemarkLabel(rr) : PaddedMarkText(r.kt)) + "<HR>\n";
}

const char* const kLegPageEnd = "<A HREF=\"index.html\">↑</A>ｲﾝﾃﾞｯｸｽへ<br></BODY></HTML>";

// ---- Time-gap page ----

enum class LinkForm { TeamPage, TeamsAnchor, Bare };

std::string teamLink(LinkForm form, int team, const std::string& name) {
    switch (form) {
    case LinkForm::TeamPage:
        return Format("<A HREF=\"r%d.html\">%s</A>", team, name.c_str());
    case LinkForm::TeamsAnchor:
        return Format("<A HREF=\"teams.html#%02d\">%s</A>", team, name.c_str());
    default:
        return name;
    }
}

std::string gapHead(int k, int firstKuriage, bool restart) {
    TMainForm& f = mainForm();
    std::string s = "<HTML><HEAD><TITLE>time_gap" + IntToStr(k) + "</TITLE></HEAD>\n";
    s += kHtmlMeta;
    s += "<BODY alink=\"red\" vlink=\"blue\">\n第" + IntToStr(k) + "区";
    if (k == f.KukanNum) s += "(最終区)";
    s += "<BR>\n";
    s += restart ? "ﾀｲﾑ差情報<br>(再出発補正済)<br>" : "ﾀｲﾑ差情報<BR>\n";
    if (!f.ResultFinal) s += "<font color=\"red\">-途中情報-</font><br>\n";
    if (firstKuriage == k)
        s += "*印は繰上出発";
    else if (firstKuriage > 0)
        s += "*印は繰上補正済";
    if (f.HasNoRecordRunner) s += std::string(firstKuriage != 0 ? "<br>" : "") + "×印は無効";
    return s + "<HR>\n";
}

} // namespace

int TOutputForm::FindFirstKuriageLeg(int k) const {
    const StringGrid& g = FormKuriage->KuriageGrid;
    for (int i = 1; i <= k && i < g.RowCount(); ++i) {
        const std::string cell = Trim(g.Cells(1, i));
        if (!cell.empty() && StrToIntDef(cell, 0) > 0) return i;
    }
    return 0;
}

bool TOutputForm::PutLegPage(const std::filesystem::path& path, int k) {
    TMainForm& f = mainForm();
    std::string s = legPageHead(k, ClassRankOn);
    if (OrderMode == 0) {
        const std::string record = f.taikaiBestGrid.Cells(3, 1);
        if (k == f.KukanNum && StrToIntDef(record, 0) != 0)
            s += "大会記録 " + f.TimeToDisplayText(record) + "<br>\n";
        s += "チーム順<HR>\n";
        for (DataQuery q = teamOrderRows(k); !q.Eof(); q.Next())
            s += teamOrderEntry(legRow(q, k), k, ClassRankOn);
    } else {
        s += "個人順<HR>\n";
        for (DataQuery q = individualOrderRows(k); !q.Eof(); q.Next())
            s += individualEntry(legRow(q, k), k, ClassRankOn);
    }
    return WriteHtmlPage(path, s + kLegPageEnd);
}

bool TOutputForm::PutTimeGapPage(const std::filesystem::path& path, int k) {
    TMainForm& f = mainForm();
    const bool teamsPage = FileExists(HtmlFolder() / "teams.html");
    bool teamLinks = false;
    if (k == f.KukanNum && f.ResultFinal &&
        (BatchMode || Dlg().MessageDlg("ﾁｰﾑ成績が必要ですか?", MsgKind::Confirmation, Btn::YesNo) == mrYes)) {
        MakeDataHtmlFolder();
        const ResultImage img = ResultImage::Load(RaceDb(), kTeamPageFields);
        int count = 0;
        for (int t = 1; t <= f.TeamNum; ++t)
            if (WriteTeamPage(img, t)) ++count;
        const std::string text = Format("%d 個のﾁｰﾑ成績を出力しました。", count);
        WebNotice(text, text);
        teamLinks = count > 0;
    }
    const LinkForm form = teamLinks ? LinkForm::TeamPage : teamsPage ? LinkForm::TeamsAnchor : LinkForm::Bare;
    const int firstKuriage = FindFirstKuriageLeg(k);
    std::string s = gapHead(k, firstKuriage, RestartCorrected);
    int top = 0, prev = 0;
    bool leader = true;
    for (DataQuery q = teamOrderRows(k); !q.Eof(); q.Next()) {
        const LegRow r = legRow(q, k);
        const std::string link =
            teamLink(form, r.team, HtmlText(f.TruncateToBytes(f.TeamFieldText(r.team, 0), 14)));
        if (leader) {
            s += "↓" + link + "<br>\n";
            top = prev = r.tt;
            leader = false;
            continue;
        }
        const bool invalid = f.MaxRunnerRemark(r.team, k) >= 2;
        const int gapTop = r.tt - top, gapPrev = r.tt - prev;
        const std::string topText = invalid ? "× **** " : MarkText(gapTop);
        const std::string prevText = invalid ? " ** " : MarkText(gapPrev);
        std::string line = gapTop == gapPrev ? topText + link : topText + "(" + prevText + ")" + link;
        if (firstKuriage != 0 && r.adj != 0) line = "*" + line;
        s += line + "<br>\n";
        prev = r.tt;
    }
    s += "<HR>\n";
    if (k > 1) s += Format("<A HREF=\"leg2_%02d.html\">→</A>%d区ﾀｲﾑ差へ<BR>\n", k - 1, k - 1);
    s += kLegPageEnd;
    if (WriteHtmlPage(path, s)) return true;
    Dlg().ShowMessage(path.string() + "の作成に失敗しました。");
    return false;
}
