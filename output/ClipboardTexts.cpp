// The result texts of the overall view on the clipboard: the result grid (three rows
// per team, laid out in the hidden work grid) and the team texts for mail merge and
// rank-change charts (team totals with the passing history and the prize winners,
// team totals alone, every individual result). Also the division and passing-place
// lookups the other text outputs share.
#include "database/RankingQueries.h"
#include "database/RaceFile.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "database/TeamNumbers.h"
#include "mainwindow/GridText.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/ResultTexts.h"
#include "output/TOutputForm.h"
#include "platform/Clipboard.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr const char* kDivisionMarker = "部門：";
constexpr int kNoRecordRemark = 2;

TMainForm& mf() {
    return *MainForm;
}

std::string clockText(int seconds) {
    return Trim(mf().SecondsToClockText(seconds));
}

// The improvement records of every team, indexed by team number - 1.
std::vector<TeamWorkRec> gapRecords(bool& everyTeamHasClass) {
    std::vector<TeamWorkRec> records(std::max(mf().TeamNum, 0));
    everyTeamHasClass = QueryGapRanking(records);
    return records;
}

const TeamWorkRec& recordOf(const std::vector<TeamWorkRec>& records, int team) {
    static const TeamWorkRec none;
    return team >= 1 && team <= static_cast<int>(records.size()) ? records[team - 1] : none;
}

// ---- The result grid ----

// Prize mark, then the record mark when the leg record was beaten or equalled.
std::string legMarks(int team, int k, int place, int time, bool classRank) {
    const int kind = place == 1 ? 1 : classRank && QueryClassLegRanking(team, k) > 0 ? 2 : 0;
    std::string text = PrizeMark(kind);
    const int legTime = place >= NoPlace ? 0 : time;
    if (legTime != 0 && mf().RunnerRemark(team, k) != kNoRecordRemark) {
        const int compare = CompareLegRecord(legTime, k);
        if (compare > 0) text += Trim(RecordMark(compare));
    }
    return text;
}

// Place and clock text of a leg or total, or "OP" and "記録なし" outside the ranking.
void placeAndTime(std::vector<std::string>& row, int place, int time) {
    if (place >= NoPlace) {
        row.insert(row.end(), {"OP", "記録なし", ""});
    } else {
        row.insert(row.end(), {IntToStr(place), clockText(time), ""});
    }
}

struct TeamRows {
    std::vector<std::string> names, totals, legs;
};

// The three rows of the team in the row of the work table.
TeamRows teamRows(const ResultImage& img, int row, const TeamWorkRec& rec, bool classPlaces, bool classRank) {
    TMainForm& f = mf();
    const int team = img.TeamID(row), N = f.KukanNum;
    TeamRows r;
    const bool classCell = classPlaces && rec.ClassPlace > 0;
    r.names = {"", classCell ? Format("%c-%d", rec.ClassLetter, rec.ClassPlace) : "", "", "氏名"};
    const int overall = img.Get(row, LegField::Tplace, N);
    const int shown = ConvertTeamNumber(team, true);
    r.totals = {overall >= NoPlace ? "OP" : IntToStr(overall), IntToStr(shown > 0 ? shown : team),
                f.TeamEntryGrid.Cells(1, team), "通算"};
    r.legs = {"", "", "", "区間"};
    for (int k = 1; k <= N; ++k) {
        const int legPlace = img.Get(row, LegField::Kplace, k), legTime = img.Get(row, LegField::Ktime, k);
        r.names.insert(r.names.end(),
                       {legMarks(team, k, legPlace, legTime, classRank), "", f.RunnerNameText(team, k, 0)});
        placeAndTime(r.totals, img.Get(row, LegField::Tplace, k), img.Get(row, LegField::Ttime, k));
        placeAndTime(r.legs, legPlace, legTime);
    }
    return r;
}

void putRow(StringGrid& g, int row, const std::vector<std::string>& cells) {
    for (int c = 0; c < static_cast<int>(cells.size()); ++c)
        g.SetCells(c, row, cells[c]);
}

void layoutWorkGrid(StringGrid& g, int rows, int cols) {
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    g.ClearAll();
}

// ---- The team texts ----

std::string teamTotalsHeader(bool hasClass, const std::string& division) {
    std::string h = "No.\tﾁｰﾑ名\t順位\t本年タイム\t昨年タイム\t躍進(秒)\t(ﾀｲﾑ)\t(順位)";
    if (hasClass) h += "\tｸﾗｽ-順位";
    for (int k = 1; k <= mf().KukanNum; ++k)
        h += Format("\t%d区", k);
    h += Format("\t補%d", 1) + "\t本年和タイム";
    if (!division.empty()) h += "\t部門";
    return h + "\n";
}

std::string teamTotalsLine(const ResultImage& img, int row, const TeamWorkRec& rec, bool hasClass,
                           const std::string& division) {
    TMainForm& f = mf();
    const int team = img.TeamID(row), N = f.KukanNum;
    const int total = img.Get(row, LegField::Ttime, N);
    const int place = img.Get(row, LegField::Ktime, N) == 0 ? NoPlace : img.Get(row, LegField::Tplace, N);
    const int last = f.TimeDigitsToSeconds(StrToIntDef(Trim(f.TeamEntryGrid.Cells(6, team)), 0));
    const std::string sign = rec.GapTime < 0 ? "○ " : rec.GapTime > 0 ? "× " : "";
    std::string line = Format("%d\t", f.TeamAliasNumber(team)) + f.TeamFieldText(team, 0) +
                       Format("\t%d\t", place) + clockText(total) + "\t" + clockText(last) +
                       Format("\t%d\t", rec.GapTime) + sign + clockText(std::abs(rec.GapTime)) +
                       Format("\t%d", rec.GapPlace);
    if (hasClass) line += Format("\t%c-%d", rec.ClassLetter, rec.ClassPlace);
    for (int slot = 1; slot <= N + 1; ++slot)
        line += "\t" + f.RunnerNameText(team, slot, 6);
    line += "\t" + f.SecondsToKanjiText(total);
    if (!division.empty()) line += "\t" + division;
    return line + "\n";
}

std::string passingHistory(const std::vector<int>& teams) {
    TMainForm& f = mf();
    std::string out = "\n通過順位の推移\nNo.\tﾁｰﾑ名\t";
    for (int k = 1; k <= f.KukanNum; ++k)
        out += Format("%d区", k) + "\t";
    out += "\n";
    for (int team : teams) {
        out += Format("%d\t", f.TeamAliasNumber(team)) + f.TeamFieldText(team, 0);
        for (int k = 1; k <= f.KukanNum; ++k)
            out += "\t" + IntToStr(GetTeamPlace(team, k));
        out += "\n";
    }
    return out;
}

std::string legRecordRemark(int compare) {
    return compare == kNewRecord ? "区間新" : compare == kRecordEqualled ? "区間ﾀｲ" : "";
}

std::string prizeWinners(bool classRank) {
    TMainForm& f = mf();
    std::string out = "\n区間賞獲得者\n区間\t選手名\tチーム名\tタイム\tリマーク\n";
    for (int k = 1; k <= f.KukanNum; ++k)
        out += f.LegWinnersText(k);
    if (!classRank) return out;
    out += "\nクラス賞獲得者\n区間\tｸﾗｽ名\t選手名\tチーム名\tタイム\tリマーク\n";
    for (int k = 1; k <= f.KukanNum; ++k)
        for (int t = 1; t <= f.TeamNum; ++t) {
            const int time = QueryClassLegRanking(t, k);
            if (time <= 0) continue;
            out += Format("%d区\t", k) + f.TeamFieldText(t, 2) + "\t" + f.RunnerNameText(t, k, 3) + "\t" +
                   f.TeamFieldText(t, 0) + "\t" + f.SecondsToMarkText(time) + "\t" +
                   legRecordRemark(CompareLegRecord(time, k)) + "\n";
        }
    return out;
}

void putOnClipboard(const std::string& text, const std::string& notice) {
    Clip().SetText(text);
    Dlg().ShowMessage(notice);
}

} // namespace

// ---- Lookups shared by the text outputs ----

std::string GetDivisionName() {
    const std::string marker = kDivisionMarker;
    for (const std::string& line : mf().OrgName.Lines()) {
        const size_t at = line.find(marker);
        if (at != std::string::npos) return line.substr(at + marker.size());
    }
    return {};
}

int GetTeamPlace(int team, int leg) {
    return WorkTablePassingPlace(team, leg);
}

// ---- The result grid on the clipboard ----

void TOutputForm::CopyResultToClipboard() {
    if (Tag != 0) {
        Dlg().ShowMessage("全出力でないとこの機能は使用できません。");
        return;
    }
    TMainForm& f = mf();
    OutputReads reads;
    bool classPlaces = false;
    const std::vector<TeamWorkRec> records = gapRecords(classPlaces);
    if (classPlaces && Dlg().MessageDlg("クラス順位が必要ですか?", MsgKind::Confirmation, Btn::YesNo) != mrYes)
        classPlaces = false;
    const int N = f.KukanNum;
    layoutWorkGrid(tempGrid, RankedTeamCount * 3 + 1, 4 + 3 * N);
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    const std::vector<int> ranked = OrderedRows(
        img, [&](int row) { return img.Get(row, LegField::Tplace, N) < OutOfRanking; },
        {{LegField::Tplace, N}, {LegField::Iplace, N}});
    ClassRankOn = f.AllTeamsHaveClass();
    for (size_t i = 0; i < ranked.size() && 3 * i + 3 < static_cast<size_t>(tempGrid.RowCount()); ++i) {
        const TeamRows r = teamRows(img, ranked[i], recordOf(records, img.TeamID(ranked[i])), classPlaces, ClassRankOn);
        putRow(tempGrid, 3 * i + 1, r.names);
        putRow(tempGrid, 3 * i + 2, r.totals);
        putRow(tempGrid, 3 * i + 3, r.legs);
    }
    putOnClipboard(GridToTabText(tempGrid, 1), "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。");
}

// ---- The team texts on the clipboard ----

void TOutputForm::CopyTeamResultText(int mode) {
    if (Tag != 0) {
        Dlg().ShowMessage("出力結果が総合成績ではありません。");
        return;
    }
    TMainForm& f = mf();
    OutputReads reads;
    const std::string division = GetDivisionName();
    const int N = f.KukanNum;
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    const std::vector<int> ranked =
        OrderedRows(img, [&](int row) { return img.Get(row, LegField::Tplace, N) < NoPlace; }, {{LegField::Tplace, N}});
    if (ranked.empty()) return;
    bool hasClass = false;
    const std::vector<TeamWorkRec> records = gapRecords(hasClass);
    if (mode == 2) {
        std::string text = "区間\t順位\t選手名\t選手カナ\t学年\tチーム名\tタイム\t和タイム\tカテゴリ\tカテゴリ名\tカテゴリ順位\n";
        for (int k = 1; k <= N; ++k)
            text += f.LegRunnersText(k);
        putOnClipboard(text, "全個人成績をクリップボードにコピーしました。\nワード差し込み印刷等にに利用出来ます。");
        return;
    }
    std::string text;
    if (mode == 0) text = f.ResultFinal ? "総合順位とタイム\n" : "総合順位とタイム(途中情報)\n";
    text += teamTotalsHeader(hasClass, division);
    std::vector<int> teams;
    for (int row : ranked) {
        teams.push_back(img.TeamID(row));
        text += teamTotalsLine(img, row, recordOf(records, teams.back()), hasClass, division);
    }
    if (mode == 1) {
        putOnClipboard(text, "ﾁｰﾑ総合成績をクリップボードにコピーしました。\nワード差し込み印刷等にに利用出来ます。");
        return;
    }
    text += passingHistory(teams) + prizeWinners(ClassRankOn);
    putOnClipboard(text, "ﾁｰﾑ総合成績及び通過順位をクリップボードにコピーしました。\n順位変動グラフ等に利用出来ます。");
}
