#include "database/RankingQueries.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/Ranking.h"
#include "database/RunnerKeys.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

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
    std::string cls; // MyClass of the team table
};

// The leading rows that share the first row's place: the winners of a group.
std::vector<LegRow> bestRows(const std::vector<LegRow>& rows) {
    std::vector<LegRow> best;
    for (const LegRow& row : rows) {
        if (row.place != rows.front().place) break;
        best.push_back(row);
    }
    return best;
}

// The winners of one group (all teams, or one class) in the two orders the questions use.
struct GroupBest {
    std::vector<LegRow> byTime, byPlace;
};

// Every leg-k row with a leg place below 999 in time order (one query), and the
// winners of each group as they are asked for.
struct LegReads {
    bool held = false;
    std::vector<LegRow> rows;
    std::map<std::string, GroupBest> classes;
    std::optional<GroupBest> all;

    const GroupBest& group(bool byClass, char cls) {
        if (!byClass) {
            if (!all) all = best(rows);
            return *all;
        }
        const std::string key(1, cls);
        auto it = classes.find(key);
        if (it != classes.end()) return it->second;
        std::vector<LegRow> members;
        for (const LegRow& row : rows)
            if (row.cls == key) members.push_back(row);
        return classes.emplace(key, best(members)).first->second;
    }

    static GroupBest best(std::vector<LegRow> timeOrder) {
        GroupBest g;
        g.byTime = bestRows(timeOrder);
        std::stable_sort(timeOrder.begin(), timeOrder.end(), [](const LegRow& a, const LegRow& b) {
            return a.place != b.place ? a.place < b.place : a.team < b.team;
        });
        g.byPlace = bestRows(timeOrder);
        return g;
    }
};

// A team of the team table with its class (MyClass), in the table's order.
struct TeamClass {
    int team;
    std::string cls;
};

std::vector<TeamClass> readTeamClasses() {
    std::vector<TeamClass> all;
    Query q = RaceDb().Prepare("SELECT NOCD, MyClass FROM " + teamFile());
    while (q.Step())
        all.push_back({static_cast<int>(q.ColumnInt(0)), q.ColumnText(1)});
    q.Reset();
    return all;
}

// What a scope keeps; emptied when the outermost scope ends or a computation runs.
struct Reads {
    int depth = 0;
    std::shared_ptr<const ResultImage> table;
    std::optional<std::vector<TeamClass>> teamClasses;
    std::map<int, LegReads> legs;
    std::optional<RunnerRecordSet> runners;
    std::optional<bool> everyTeamHasClass;
};
Reads& reads() {
    static Reads r;
    return r;
}

// Kept inside a scope, read per question outside one.
template <class T, class Read>
const T& scoped(std::optional<T>& kept, T& uncached, Read read) {
    if (reads().depth == 0) return uncached = read();
    if (!kept) kept = read();
    return *kept;
}

const std::vector<TeamClass>& teamClasses() {
    static std::vector<TeamClass> uncached;
    return scoped(reads().teamClasses, uncached, readTeamClasses);
}

// The leg-k rows of the teams in the team table with a leg place below 999, in time order.
LegReads readLeg(int k) {
    LegReads leg;
    leg.held = tablesHold(k);
    if (!leg.held) return leg;
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    for (const TeamClass& t : teamClasses()) {
        const int row = img.RowOfTeam(t.team);
        if (row < 0 || img.Legs() < k) continue;
        const int place = img.Get(row, LegField::Kplace, k);
        if (place < NoPlace) leg.rows.push_back({t.team, place, img.Get(row, LegField::Ktime, k), t.cls});
    }
    std::stable_sort(leg.rows.begin(), leg.rows.end(), [](const LegRow& a, const LegRow& b) {
        if (a.time != b.time) return a.time < b.time;
        return a.place != b.place ? a.place < b.place : a.team < b.team;
    });
    return leg;
}

// Read from the team grid per question outside a scope, once inside one.
bool everyTeamHasClass() {
    static bool uncached;
    return scoped(reads().everyTeamHasClass, uncached, [] { return MainForm->AllTeamsHaveClass(); });
}

LegReads& legReads(int k) {
    static LegReads uncached;
    Reads& r = reads();
    if (r.depth == 0) return uncached = readLeg(k);
    auto it = r.legs.find(k);
    if (it == r.legs.end()) it = r.legs.emplace(k, readLeg(k)).first;
    return it->second;
}

RunnerRecordSet readRunners() {
    RunnerRecordSet all;
    const std::string file = RunnerTableName(MainForm->TaikaiNo);
    if (MainForm->TaikaiNo < 1 || MainForm->DataFolder.empty() || !RaceDb().TableExists(file)) return all;
    Query q = RaceDb().Prepare("SELECT Team_Kukan, R_SEI, R_MEI, R_SEIKANA, R_MEIKANA, G_AGE, REMARK FROM " +
                               file + " ORDER BY Team_Kukan");
    // Every team's slots: the legs, the substitutes and slot 0.
    const TMainForm& f = *MainForm;
    all.Reserve(static_cast<size_t>(std::max(f.TeamNum, 0)) * std::max(f.KukanNum + f.HoketuNum + 1, 0));
    const auto number = [&q](int i) { return static_cast<int>(q.ColumnInt(i)); };
    while (q.Step())
        all.Add(number(0), {q.ColumnText(1), q.ColumnText(2), q.ColumnText(3), q.ColumnText(4), number(5), number(6)});
    q.Reset();
    return all;
}

// The team's row among the winners, or null.
const LegRow* teamAmong(const std::vector<LegRow>& best, int team) {
    for (const LegRow& row : best)
        if (row.team == team) return &row;
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
    if (!everyTeamHasClass()) return 0;
    LegReads& reads = legReads(leg);
    if (!reads.held) return 0;
    const LegRow* row = teamAmong(reads.group(true, classLetterOf(team)).byPlace, team);
    // The overall leg winner takes the leg prize instead.
    if (!row || row->place == 1) return 0;
    return row->time;
}

int QueryLegTimeRanking(int team, int leg, char& classLetter, int& legTime, int& prizeKind, int& recordMark) {
    LegReads& reads = legReads(leg);
    if (!reads.held) return 0;
    const bool byClass = everyTeamHasClass();
    const char c = byClass ? classLetterOf(team) : ' ';
    const LegRow* row = teamAmong(reads.group(byClass, c).byTime, team);
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
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    const std::vector<int> rows =
        OrderedRows(img, [&](int row) { return img.Get(row, LegField::Tplace, N) < NoPlace; }, {{LegField::Tplace, N}});
    if (rows.empty()) return;
    std::vector<TeamWorkRec> records(MainForm->TeamNum);
    QueryGapRanking(records);
    for (int row : rows) {
        const TeamWorkRec* rec = recordOf(records, img.TeamID(row));
        const TeamWorkRec none;
        const TeamWorkRec& r = rec ? *rec : none;
        const int total = img.Get(row, LegField::Ttime, N);
        const int gapCode = MainForm->SecondsToDigits(std::abs(r.GapTime)) * (r.GapTime < 0 ? -1 : 1);
        prizeText += Format("%d,%d,%c,%d,%s,%s,%s,%d,%g,%d,%d,%d,%d\n", 0, img.Get(row, LegField::Tplace, N),
                            isClassLetter(r.ClassLetter) ? r.ClassLetter : '*', 0,
                            Trim(MainForm->TeamEntryGrid.Cells(1, img.TeamID(row))).c_str(), "***", "***",
                            MainForm->SecondsToDigits(total), 0.0, r.GapPlace, gapCode, r.ClassPlace,
                            taikaiMark(total));
    }
}

// ---- Reads kept for one output ----

OutputReads::OutputReads() {
    ++reads().depth;
}

OutputReads::~OutputReads() {
    if (--reads().depth == 0) DropOutputReads();
}

struct AllTeamsLegPlaces::Kept {
    std::shared_ptr<const ResultImage> table;
    std::map<int, LegReads> legs;
};

// Without a class filter the work table holds them already.
AllTeamsLegPlaces::AllTeamsLegPlaces() {
    if (MainForm->GetClassFilter().empty()) return;
    Reads& r = reads();
    auto all = std::make_shared<const ResultImage>(LegPlacesOfAllTeams(*OutputWorkTable()));
    kept_ = std::make_unique<Kept>(Kept{std::move(r.table), std::move(r.legs)});
    r.table = std::move(all);
    r.legs.clear();
}

AllTeamsLegPlaces::~AllTeamsLegPlaces() {
    if (!kept_) return;
    Reads& r = reads();
    r.table = std::move(kept_->table);
    r.legs = std::move(kept_->legs);
}

void DropOutputReads() {
    Reads& r = reads();
    r.table.reset();
    r.teamClasses.reset();
    r.legs.clear();
    r.runners.reset();
    r.everyTeamHasClass.reset();
}

void RunnerRecordSet::Reserve(size_t count) {
    keys_.reserve(count);
    records_.reserve(count);
}

void RunnerRecordSet::Add(int key, RunnerRecord record) {
    if (!keys_.empty() && key == keys_.back()) {
        records_.back() = std::move(record);
        return;
    }
    keys_.push_back(key);
    records_.push_back(std::move(record));
}

const RunnerRecord* RunnerRecordSet::Find(int key) const {
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
    return it == keys_.end() || *it != key ? nullptr : &records_[it - keys_.begin()];
}

int RunnerRecordSet::MaxRemark(int fromKey, int toKey) const {
    int m = 0;
    for (size_t i = std::lower_bound(keys_.begin(), keys_.end(), fromKey) - keys_.begin();
         i < keys_.size() && keys_[i] <= toKey; ++i)
        m = std::max(m, records_[i].Remark);
    return m;
}

const RunnerRecordSet* ScopedRunnerRecords() {
    Reads& r = reads();
    if (r.depth == 0) return nullptr;
    if (!r.runners) r.runners = readRunners();
    return &*r.runners;
}

std::shared_ptr<const ResultImage> OutputWorkTable() {
    Reads& r = reads();
    if (r.table) return r.table;
    auto table = std::make_shared<const ResultImage>(ResultImage::Load(RaceDb()));
    if (r.depth > 0) r.table = table;
    return table;
}

int WorkTablePassingPlace(int team, int leg) {
    const auto table = OutputWorkTable();
    const int row = table->RowOfTeam(team);
    return row < 0 || leg < 1 || leg > table->Legs() ? 0 : table->Get(row, LegField::Tplace, leg);
}

std::vector<int> OrderedRows(const ResultImage& img, const std::function<bool(int row)>& keep,
                             std::initializer_list<LegKey> order) {
    std::vector<int> rows;
    for (const LegKey& key : order)
        if (key.Leg < 1 || key.Leg > img.Legs()) return rows;
    for (int row = 0; row < img.Count(); ++row)
        if (keep(row)) rows.push_back(row);
    const std::vector<LegKey> keys(order);
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        for (const LegKey& key : keys) {
            const int x = img.Get(a, key.Field, key.Leg), y = img.Get(b, key.Field, key.Leg);
            if (x != y) return x < y;
        }
        return img.TeamID(a) < img.TeamID(b);
    });
    return rows;
}
