// The on-screen views of the result window: the overall view (three rows per team,
// one column per leg), the leg view (one row per team, in team or individual order),
// their drawing rules, and the raw work table shown after a data error.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

#include <exception>

namespace {

const char* const kOrderNames[] = {"チーム順", "個人順"};
const char* const kWorkFieldTitles[kFieldsPerLeg] = {"通過ﾀｲﾑ",  "区間ﾀｲﾑ",  "通過順位",
                                                     "区間順位", "入力順位", "繰上ｽｲｯﾁ"};

enum LegCol { ColPassPlace, ColNumber, ColTeam, ColPassTime, ColRunner, ColLegPlace, ColLegTime, ColKuriage };

std::string xs(int n) {
    return std::string(n, 'X');
}

TMainForm& mainForm() {
    return *MainForm;
}

bool hundredths() {
    return mainForm().chk100.Checked();
}

std::string markText(int seconds) {
    return mainForm().SecondsToMarkText(seconds);
}

int value(const DataQuery& q, LegField field, int leg) {
    return q.Field(LegFieldName(field, leg)).AsInteger();
}

std::string fieldName(LegField field, int leg) {
    return LegFieldName(field, leg);
}

void clearBody(StringGrid& g) {
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            g.SetCells(c, r, "");
}

void layout(StringGrid& g, int cols, int rows, int fixedCols) {
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedRows(1);
    g.SetFixedCols(fixedCols);
}

// A record mark in front of a time only when the record was beaten or equalled.
std::string withRecordMark(int compare, const std::string& text) {
    return compare > 0 ? RecordMark(compare) + text : text;
}

// ---- Overall view: the block of three rows of the i-th team ----

std::string placeAndName(int place, int total, const std::string& name) {
    if (place == OutOfRanking) return "欠場) " + name;
    if (place == NoPlace) return total == 0 ? name : "OP) " + name;
    return Format("%5d)  %s", place, name.c_str());
}

std::string totalTimeText(int maxRemark, int total, int legs) {
    if (maxRemark >= 2) return "         " + RemarkLabel(maxRemark);
    if (total == 0) return {};
    return "        " + RecordMark(CompareTaikaiRecord(total, legs)) + markText(total);
}

std::string totalAfterLeg(int maxAll, int legRemark, int place, int total) {
    if (legRemark >= 2) return RemarkLabel(maxAll);
    if (place == NoPlace) return total == 0 ? std::string() : markText(total);
    return Format("[%2d] %s", place, markText(total).c_str());
}

std::string legTimeCell(int team, int leg, int place, int time, bool classRank) {
    const int remark = mainForm().RunnerRemark(team, leg);
    std::string text;
    if (remark >= 2) {
        text = RemarkLabel(remark);
    } else if (place == NoPlace) {
        text = time == 0 ? std::string() : markText(time);
    } else {
        const int kind = place == 1 ? 1 : classRank && QueryClassLegRanking(team, leg) > 0 ? 2 : 0;
        text = Format("%s(%2d) %s", PrizeMark(kind).c_str(), place, markText(time).c_str());
    }
    if (time != 0 && remark != 2) text = withRecordMark(CompareLegRecord(time, leg), text);
    return text;
}

void fillTeamBlock(StringGrid& g, const DataQuery& q, int i, int legs, bool classRank) {
    TMainForm& f = mainForm();
    const int team = q.Field("TeamID").AsInteger();
    const int top = 3 * i - 2, totals = 3 * i - 1, legRow = 3 * i;
    const int maxAll = f.MaxRunnerRemark(team, legs);
    const int place = value(q, LegField::Tplace, legs), total = value(q, LegField::Ttime, legs);
    g.SetCells(0, totals, placeAndName(place, total, f.TeamFieldText(team, 0)));
    // This total becomes the team's "前回のﾀｲﾑ" in the next edition.
    if (f.ResultFinal) SaveTeamThisTime(team, place < NoPlace ? total : 0);
    g.SetCells(0, legRow, totalTimeText(maxAll, total, legs));
    g.SetCells(0, top, IntToStr(team));
    for (int j = 1; j <= legs; ++j) {
        g.SetCells(j, top, f.RunnerNameText(team, j, 0));
        g.SetCells(j, totals,
                   totalAfterLeg(maxAll, f.MaxRunnerRemark(team, j), value(q, LegField::Tplace, j),
                                 value(q, LegField::Ttime, j)));
        g.SetCells(
            j, legRow,
            legTimeCell(team, j, value(q, LegField::Kplace, j), value(q, LegField::Ktime, j), classRank));
    }
}

// ---- Leg view: one row per team ----

std::string placeText(int place) {
    return place < NoPlace ? IntToStr(place) : "OP";
}

std::string runnerWithPrize(int team, int leg, int place, bool classRank) {
    TMainForm& f = mainForm();
    std::string name = f.RunnerNameText(team, leg, 0);
    if (!f.ResultFinal) return name;
    if (place == 1) return "★" + name;
    if (place > 1 && place < NoPlace && classRank && QueryClassLegRanking(team, leg) > 0) return "◇" + name;
    return name;
}

void fillLegRow(StringGrid& g, const DataQuery& q, int r, int k, bool classRank) {
    TMainForm& f = mainForm();
    const int team = q.Field("TeamID").AsInteger();
    const int total = value(q, LegField::Ttime, k), legTime = value(q, LegField::Ktime, k);
    const int legPlace = value(q, LegField::Kplace, k);
    g.SetCells(ColPassPlace, r, placeText(value(q, LegField::Tplace, k)));
    g.SetCells(ColNumber, r, IntToStr(f.TeamAliasNumber(team)));
    g.SetCells(ColTeam, r, f.TeamFieldText(team, 0));
    const int maxRemark = f.MaxRunnerRemark(team, k);
    const int taikai = k == f.KukanNum ? CompareTaikaiRecord(total, k) : 0;
    g.SetCells(ColPassTime, r,
               maxRemark >= 2 ? RemarkLabel(maxRemark) : withRecordMark(taikai, markText(total)));
    g.SetCells(ColLegPlace, r, placeText(legPlace));
    g.SetCells(ColRunner, r, runnerWithPrize(team, k, legPlace, classRank));
    const int remark = f.RunnerRemark(team, k);
    g.SetCells(ColLegTime, r,
               remark >= 2 ? RemarkLabel(remark)
                           : withRecordMark(CompareLegRecord(legTime, k), markText(legTime)));
    g.SetCells(ColKuriage, r, value(q, LegField::AdjSw, k) != 0 ? "#" : "");
}

// A fill that fails shows the one message of the views instead of a half view; a table
// the engine could not read or write adds its file and the engine's reason.
template <typename Fill> bool fillOrReport(Fill fill) {
    const char* const failed = "異常終了";
    try {
        if (fill()) return true;
    } catch (const DbError& e) {
        Dlg().ShowMessage(std::string(failed) + "\n" + e.what());
        return false;
    } catch (const std::exception&) {
    }
    Dlg().ShowMessage(failed);
    return false;
}

} // namespace

// ---- Overall view ----

void TOutputForm::ShowTotalResult(StringGrid& grid) {
    const int legs = mainForm().KukanNum;
    layout(grid, legs + 1, RankedTeamCount * 3 + 1, 1);
    grid.SetCells(0, 0, "総合成績");
    grid.SetColSample(0, xs(21));
    for (int j = 1; j <= legs; ++j) {
        grid.SetCells(j, 0, Format("第 %d 区", j));
        grid.SetColSample(j, xs(hundredths() ? 15 : 13));
    }
    clearBody(grid);
    ResultsShown = fillOrReport([&] { return FillTotalResultGrid(legs); });
}

bool TOutputForm::FillTotalResultGrid(int legs) {
    TMainForm& f = mainForm();
    if (legs != f.KukanNum) {
        Dlg().ShowMessage("最終区が指定されませんでした。");
        return false;
    }
    SaveTeamRows();
    const std::string tp = fieldName(LegField::Tplace, legs), ip = fieldName(LegField::Iplace, legs);
    DataQuery q = RaceQuery(Format("SELECT * from temptable.db WHERE %s <1000 ORDER BY %s, %s, TeamID",
                                  tp.c_str(), tp.c_str(), ip.c_str()));
    clearBody(OutputTTLGrid);
    ClassRankOn = f.AllTeamsHaveClass();
    std::string title = Format("%s 総合成績     %s = 区間賞、", f.ReceName.Text().c_str(), "★");
    if (ClassRankOn) title += "◇ = ｸﾗｽ賞、";
    ResultTTL.SetCaption(title + "◎ = 新、▽ = タイ");
    // Every team's this-time and the team rows in one commit, not one per team.
    Transaction tx(RaceDb());
    for (int i = 1; !q.Eof(); q.Next(), ++i)
        fillTeamBlock(OutputTTLGrid, q, i, legs, ClassRankOn);
    SaveTeamRows();
    tx.Commit();
    return true;
}

// ---- Leg view ----

void TOutputForm::ShowLegResult() {
    TMainForm& f = mainForm();
    const int k = Tag;
    SetCaption(Format("第 %d 区成績", k));
    std::string title = Format("%s %s (%s) %s=区間賞、", f.ReceName.Text().c_str(), Caption().c_str(),
                               kOrderNames[OrderMode == 1 ? 1 : 0], "★");
    if (f.AllTeamsHaveClass()) title += "◇=ｸﾗｽ賞、";
    ResultTTL.SetCaption(title + "◎=新、▽=タイ");
    StringGrid& g = OutputGrid;
    layout(g, 8, RankedTeamCount + 1, 0);
    const char* const titles[] = {"通過順位", "Noｶｰﾄﾞ",   "チーム名", "通過ﾀｲﾑ",
                                  "選手名",   "区間順位", "区間ﾀｲﾑ",  "繰上"};
    const int widths[] = {8, 8, 20, hundredths() ? 13 : 11, 17, 9, hundredths() ? 11 : 9, 5};
    for (int c = 0; c < 8; ++c) {
        g.SetCells(c, 0, titles[c]);
        g.SetColSample(c, xs(widths[c]));
    }
    if (Tag != 0) ResultsShown = fillOrReport([&] { return FillLegResultGrid(k, false); });
}

bool TOutputForm::FillLegResultGrid(int k, bool keepCells) {
    ClassRankOn = mainForm().AllTeamsHaveClass();
    const std::string tp = fieldName(LegField::Tplace, k), kt = fieldName(LegField::Ktime, k);
    const std::string first = OrderMode == 1 ? fieldName(LegField::Kplace, k) : tp;
    const std::string second = OrderMode == 1 ? kt : fieldName(LegField::Ttime, k);
    DataQuery q =
        RaceQuery(Format("SELECT * from temptable.db WHERE %s<1000 AND %s > 0 ORDER BY %s, %s, TeamID",
                        tp.c_str(), kt.c_str(), first.c_str(), second.c_str()));
    if (!keepCells) clearBody(OutputGrid);
    int r = 1;
    for (; !q.Eof(); q.Next(), ++r)
        fillLegRow(OutputGrid, q, r, k, ClassRankOn);
    if (r > 1) UpDownBtn.SetEnabled(true);
    return true;
}

void TOutputForm::UpDownBtnClick() {
    OutputReads reads;
    if (UpDownBtn.ImageIndex() != kTeamOrderImage) {
        UpDownBtn.SetImageIndex(kTeamOrderImage);
        OrderMode = 0;
    } else {
        UpDownBtn.SetImageIndex(kRunnerOrderImage);
        OrderMode = 1;
    }
    ShowLegResult();
}

// ---- The raw work table ----

void TOutputForm::ShowWorkTable() {
    const ResultImage img = ResultImage::Load(RaceDb());
    StringGrid& g = tmpDBGrid;
    layout(g, 1 + img.Legs() * kFieldsPerLeg, 1 + img.Count(), 0);
    clearBody(g);
    g.SetCells(0, 0, "ﾅﾝﾊﾞｰ");
    for (int c = 1; c < g.ColCount(); ++c)
        g.SetCells(c, 0,
                   Format("%s%d区", kWorkFieldTitles[(c - 1) % kFieldsPerLeg], (c - 1) / kFieldsPerLeg + 1));
    for (int row = 0; row < img.Count(); ++row) {
        g.SetCells(0, row + 1, IntToStr(img.TeamID(row)));
        for (int leg = 1; leg <= img.Legs(); ++leg)
            for (int f = 0; f < kFieldsPerLeg; ++f)
                g.SetCells((leg - 1) * kFieldsPerLeg + f + 1, row + 1,
                           IntToStr(img.Get(row, static_cast<LegField>(f), leg)));
    }
}

// ---- Drawing rules ----

CellStyle TOutputForm::OutputGridDrawCell(int col, int row) const {
    CellStyle st;
    st.Text = OutputGrid.Cells(col, row);
    st.Align = CellAlign::Center;
    if (row < OutputGrid.FixedRows()) {
        st.Background = kSkyBlue;
        return st;
    }
    // A total that carries an advanced-start correction.
    if (!OutputGrid.Cells(ColKuriage, row).empty()) st.Background = kSkyBlue;
    if (col == ColPassTime || col == ColLegTime) st.Align = CellAlign::Right;
    return st;
}

CellStyle TOutputForm::OutputTTLGridDrawCell(int col, int row) const {
    CellStyle st;
    st.Text = OutputTTLGrid.Cells(col, row);
    st.Align = CellAlign::Center;
    if (row == 0 || col == 0) st.Background = kSkyBlue;
    if (row > 0 && col == 0) {
        st.Align = CellAlign::Left;
        if (row % 3 == 1) st.Text.clear(); // the team number stays in the cell, unseen
    }
    // Each team block is closed by a line.
    st.LineBelow = row == 0 || row % 3 == 0;
    return st;
}

CellStyle TOutputForm::tmpDBGridDrawColumnCell(int col, int row) const {
    const StringGrid& g = tmpDBGrid;
    CellStyle st;
    st.Text = g.Cells(col, row);
    st.Align = CellAlign::Center;
    if (row < g.FixedRows() || col < 1) return st;
    const int field = (col - 1) % kFieldsPerLeg, leg = (col - 1) / kFieldsPerLeg + 1;
    const int adjCol = (leg - 1) * kFieldsPerLeg + static_cast<int>(LegField::AdjSw) + 1;
    if (StrToIntDef(g.Cells(adjCol, row), 0) == 1) st.Background = kSkyBlue;
    const int v = StrToIntDef(st.Text, 0);
    if (v > 100) {
        st.Align = CellAlign::Right;
        if (field == static_cast<int>(LegField::Ttime) || field == static_cast<int>(LegField::Ktime))
            st.Text = markText(v);
    }
    return st;
}
