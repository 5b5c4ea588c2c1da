#include "database/RankingQueries.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <cstdlib>

namespace {

// Team table of the edition as a file for FROM and as a name for column qualifiers.
std::string teamFile() {
    return TeamTableName(MainForm->TaikaiNo);
}
std::string teamName() {
    const std::string file = teamFile();
    return file.substr(0, file.size() - 3);
}

// The queries over a missing or shorter work table (or no team table) give no rows.
bool tablesHold(int leg) {
    return leg >= 1 && ResultTableLegs() >= leg && RaceDb().TableExists(teamFile());
}

char classLetterOf(int team) {
    const std::string cls = Trim(MainForm->TeamEntryGrid.Cells(5, team));
    return cls.empty() ? ' ' : cls[0];
}

bool isClassLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

int taikaiMark(int total) {
    const int mark = CompareTaikaiRecord(total, MainForm->KukanNum);
    return mark >= 0 && mark <= 2 ? mark : 0;
}

struct LegRow {
    int team, place, time;
};

// The leg-k rows with a leg place below 999, of one class or of all teams.
std::vector<LegRow> legRows(int k, bool byClass, char cls, bool timeOrder) {
    const std::string T = teamName();
    std::string sql = byClass ? "SELECT " + T + ".MyClass, " : "SELECT ";
    sql += Format("%s.NOCD, temptable.KPlace_%d as myPlace, temptable.KTime_%d as myTime FROM temptable.db "
                  "INNER JOIN %s ON temptable.TeamID = %s.NOCD WHERE ",
                  T.c_str(), k, k, teamFile().c_str(), T.c_str());
    if (byClass) sql += T + ".MyClass = ?1 AND ";
    sql += Format("temptable.KPlace_%d<999 ORDER BY ", k);
    sql +=
        timeOrder ? Format("temptable.KTime_%d,temptable.KPlace_%d", k, k) : Format("temptable.KPlace_%d", k);
    sql += ", temptable.TeamID;";

    DataQuery& q = DataMdl->tmpQry2;
    q.SetSQL(sql);
    q.Open(byClass ? std::vector<Value>{Value(std::string(1, cls))} : std::vector<Value>{});
    std::vector<LegRow> rows;
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back(
            {q.Field("NOCD").AsInteger(), q.Field("myPlace").AsInteger(), q.Field("myTime").AsInteger()});
    q.Close();
    return rows;
}

// The row of the team among the leading rows that share the first row's place.
const LegRow* teamAmongBest(const std::vector<LegRow>& rows, int team) {
    for (const LegRow& row : rows) {
        if (row.place != rows.front().place) break;
        if (row.team == team) return &row;
    }
    return nullptr;
}

TeamWorkRec* recordOf(std::vector<TeamWorkRec>& records, int team) {
    const int i = team - 1;
    if (i < 0 || i >= MainForm->TeamNum || i >= static_cast<int>(records.size())) return nullptr;
    return &records[i];
}

void clearRecords(std::vector<TeamWorkRec>& records) {
    for (TeamWorkRec& rec : records) {
        const int alias = rec.AliasNo, state = rec.State;
        rec = TeamWorkRec{};
        rec.AliasNo = alias;
        rec.State = state;
    }
}

// Competition ranking of the improvements over the teams with both times.
void rankImprovements(DataQuery& q, std::vector<TeamWorkRec>& records) {
    int place = 0, count = 0, previousGap = -9999;
    bool first = true;
    for (q.First(); !q.Eof(); q.Next()) {
        TeamWorkRec* rec = recordOf(records, q.Field("NOCD").AsInteger());
        if (!rec) continue;
        rec->TeamNo = q.Field("NOCD").AsInteger();
        if (q.Field("thisTime").AsInteger() == 0 || q.Field("LastTime").AsInteger() == 0) continue;
        const int gap = q.Field("MyGap").AsInteger();
        ++count;
        if (first || gap != previousGap) place = count;
        rec->GapPlace = place;
        rec->GapTime = gap;
        previousGap = gap;
        first = false;
    }
}

// Overall and class places, total times and record marks after the last leg.
bool fillOverallPlaces(std::vector<TeamWorkRec>& records) {
    const int N = MainForm->KukanNum;
    if (!tablesHold(N)) return false;
    const std::string T = teamName();
    DataQuery& q = DataMdl->tmpQry2;
    q.SetSQL(Format("SELECT %s.MyClass, %s.NOCD, %s.REMARK, temptable.Tplace_%d, temptable.Ttime_%d FROM "
                    "temptable.db INNER JOIN %s ON temptable.TeamID = %s.NOCD ORDER BY %s.MyClass, "
                    "temptable.TPlace_%d, temptable.TeamID;",
                    T.c_str(), T.c_str(), T.c_str(), N, N, teamFile().c_str(), T.c_str(), T.c_str(), N));
    q.Open();
    char previousClass = 0;
    int classPlace = 0;
    for (q.First(); !q.Eof(); q.Next()) {
        const std::string cls = q.Field("MyClass").AsString();
        const char c = cls.empty() ? 0 : cls[0];
        if (c != previousClass) classPlace = 0;
        previousClass = c;
        TeamWorkRec* rec = recordOf(records, q.Field("NOCD").AsInteger());
        if (!rec) continue; // not a team of this race
        const bool op = q.Field("REMARK").AsInteger() > 0;
        if (!op) ++classPlace;
        rec->ClassPlace = op ? 0 : classPlace;
        rec->TotalPlace = q.Field(3).AsInteger();
        rec->TotalTime = q.Field(4).AsInteger();
        rec->RecordMark = taikaiMark(rec->TotalTime);
        rec->ClassLetter = c ? c : ' ';
    }
    q.Close();
    return true;
}

} // namespace

int QueryClassLegRanking(int team, int leg) {
    if (!MainForm->AllTeamsHaveClass() || !tablesHold(leg)) return 0;
    const auto rows = legRows(leg, true, classLetterOf(team), false);
    const LegRow* row = teamAmongBest(rows, team);
    // The overall leg winner takes the leg prize instead.
    if (!row || row->place == 1) return 0;
    return row->time;
}

int QueryLegTimeRanking(int team, int leg, char& classLetter, int& legTime, int& prizeKind, int& recordMark) {
    if (!tablesHold(leg)) return 0;
    const bool byClass = MainForm->AllTeamsHaveClass();
    const char c = byClass ? classLetterOf(team) : ' ';
    const auto rows = legRows(leg, byClass, c, true);
    const LegRow* row = teamAmongBest(rows, team);
    if (!row) return 0;
    legTime = row->time;
    classLetter = isClassLetter(c) ? c : '*';
    recordMark = CompareLegRecord(legTime, leg);
    prizeKind = row->place == 1 ? 1 : 2;
    return row->place;
}

bool QueryGapRanking(std::vector<TeamWorkRec>& records) {
    if (!RaceDb().TableExists(teamFile())) return false;
    DataQuery& q = DataMdl->tmpQry2;
    q.SetSQL("SELECT NOCD, thisTime, LastTime, thisTime - LastTime AS MyGap FROM " + teamFile() +
             " ORDER BY MyGap, NOCD;");
    q.Open();
    if (q.IsEmpty()) return false;
    clearRecords(records);
    if (q.RecordCount() > MainForm->TeamNum) {
        q.Close();
        Dlg().ShowMessage("チーム情報テーブルに不要のデータがあります。");
        MainForm->SpeedButtonPackEntryClick();
        return false;
    }
    rankImprovements(q, records);
    q.Close();
    if (!fillOverallPlaces(records)) return false;
    return MainForm->AllTeamsHaveClass();
}

void BuildResultLines(std::string& prizeText) {
    const int N = MainForm->KukanNum;
    if (ResultTableLegs() < N) return;
    DataQuery& q = DataMdl->tmpQry;
    q.SetSQL(Format("SELECT * FROM temptable.db WHERE Tplace_%d < 999 ORDER BY Tplace_%d, TeamID", N, N));
    q.Open();
    if (q.IsEmpty()) return;
    std::vector<TeamWorkRec> records(MainForm->TeamNum);
    QueryGapRanking(records);
    const std::string ttime = LegFieldName(LegField::Ttime, N), tplace = LegFieldName(LegField::Tplace, N);
    for (q.First(); !q.Eof(); q.Next()) {
        const int team = q.Field("TeamID").AsInteger();
        const TeamWorkRec* rec = recordOf(records, team);
        const TeamWorkRec none;
        const TeamWorkRec& r = rec ? *rec : none;
        const int total = q.Field(ttime).AsInteger();
        const int gapCode = MainForm->SecondsToDigits(std::abs(r.GapTime)) * (r.GapTime < 0 ? -1 : 1);
        prizeText += Format("%d,%d,%c,%d,%s,%s,%s,%d,%g,%d,%d,%d,%d\n", 0, q.Field(tplace).AsInteger(),
                            isClassLetter(r.ClassLetter) ? r.ClassLetter : '*', 0,
                            Trim(MainForm->TeamEntryGrid.Cells(1, team)).c_str(), "***", "***",
                            MainForm->SecondsToDigits(total), 0.0, r.GapPlace, gapCode, r.ClassPlace,
                            taikaiMark(total));
    }
    q.Close();
}
