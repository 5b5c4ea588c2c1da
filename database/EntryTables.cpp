// Team, runner and waiting tables of the edition in use, and the entry grids.
#include "database/EntryTables.h"

#include "database/RaceFile.h"
#include "database/RunnerKeys.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

#include <map>
#include <optional>
#include <set>
#include <strings.h>

namespace {

constexpr int kTeamFieldCount = 8;
constexpr int kRunnerTextBytes = EntryFieldBytes::RunnerText;

TMainForm& mainForm() {
    return *MainForm;
}

std::vector<FieldDef> teamFields() {
    using T = FieldType;
    namespace B = EntryFieldBytes;
    return {{"NOCD", T::Integer},
            {"T_NAME", T::FixedChar, B::TeamName},
            {"T_KANA", T::FixedChar, B::TeamKana},
            {"T_CLS", T::FixedChar, B::TeamAlias},
            {"REMARK", T::Smallint},
            {"MyClass", T::FixedChar, B::TeamClass},
            {"LastTime", T::Integer},
            {"thisTime", T::Integer}};
}

std::vector<FieldDef> runnerFields() {
    using T = FieldType;
    constexpr int n = kRunnerTextBytes;
    return {{"Team_Kukan", T::Integer},     {"R_SEI", T::FixedChar, n},     {"R_MEI", T::FixedChar, n},
            {"R_SEIKANA", T::FixedChar, n}, {"R_MEIKANA", T::FixedChar, n}, {"G_AGE", T::Smallint},
            {"REMARK", T::Smallint}};
}

std::vector<FieldDef> delayFields() {
    using T = FieldType;
    return {{"Kukan_Team", T::Integer}, {"DTIME", T::Integer}, {"KUKAN", T::Integer}};
}

// Tables exist only for an edition of an open race folder.
bool editionInUse() {
    return mainForm().TaikaiNo >= 1 && !mainForm().DataFolder.empty();
}

int lastSlot() {
    return mainForm().KukanNum + mainForm().HoketuNum;
}

int cellInt(const StringGrid& g, int col, int row) {
    return StrToIntDef(g.Cells(col, row), 0);
}

// Opens the table, creating it empty when missing; first row, edit state. A table open
// on the file already is only put back there, as closing and opening it would.
void openOrCreate(Table& t, const std::string& file, const std::vector<FieldDef>& fields, const char* key) {
    RaceDb();
    if (t.Active() && t.TableName() == file && t.Exists()) {
        t.Cancel(); // a close drops an unposted row
        t.First();
        t.Edit();
        return;
    }
    t.Close();
    t.SetTableName(file);
    try {
        t.Open(); // on the first row
    } catch (const TableNotFound&) {
        t.CreateTable(fields, {key});
        t.Open();
    }
    t.Edit();
}

bool hasField(const Table& t, const std::string& name) {
    for (const FieldDef& f : t.FieldDefs())
        if (strcasecmp(f.Name.c_str(), name.c_str()) == 0) return true;
    return false;
}

std::vector<std::string> fieldNames(const Table& t) {
    std::vector<std::string> names;
    for (const FieldDef& f : t.FieldDefs())
        names.push_back(f.Name);
    return names;
}

// Appends every row of `from` to `to`: the named fields that `from` has, then `fix`.
template <typename Fix>
void appendRows(Table& from, Table& to, const std::vector<std::string>& fields, Fix fix) {
    std::vector<std::string> present;
    for (const std::string& f : fields)
        if (hasField(from, f)) present.push_back(f);
    for (from.First(); !from.Eof(); from.Next()) {
        to.Append();
        for (const std::string& f : present)
            to.SetField(f, from.Field(f));
        fix(from, to);
        to.Post();
    }
}

void noFix(Table&, Table&) {}

// An older team table keeps its numbers, names, readings, aliases and OP values.
void migrateTeamTable(Table& t) {
    Transaction tx(*t.GetDatabase());
    Table& copy = DataMdl->tmpTable;
    copy.Close();
    copy.SetTableName(kTeamCopyFile);
    t.Open();
    copy.CreateTable(t.FieldDefs(), t.GetDatabase()->KeyFields(t.TableName()));
    copy.Open();
    appendRows(t, copy, fieldNames(t), noFix);
    CreateTeamTableDefs();
    t.Open();
    appendRows(copy, t, {"NOCD", "REMARK", "T_NAME", "T_KANA", "T_CLS"}, noFix);
    t.Close();
    copy.Close();
    tx.Commit();
}

// The source edition's teams, its result becoming the previous time ("前回のﾀｲﾑ").
void copySourceTeams(Table& t, const std::string& sourceFile) {
    Table& src = DataMdl->tmpTable;
    src.Close();
    src.SetTableName(sourceFile);
    src.Open();
    auto lastFromThis = [](Table& from, Table& to) {
        to.SetField("LastTime", hasField(from, "thisTime") ? from.FieldInt("thisTime") : 0);
        to.SetField("thisTime", 0);
    };
    appendRows(src, t, fieldNames(t), lastFromThis);
    src.Close();
}

void createTeamTable(Table& t) {
    const TMainForm& f = mainForm();
    Database& db = *t.GetDatabase();
    Transaction tx(db);
    CreateTeamTableDefs();
    t.Open();
    const std::string source = TeamTableName(f.SourceTaikaiNo);
    // Without a source table the edition starts as the first one does.
    if (f.TaikaiNo > 1 && source != t.TableName() && db.TableExists(source)) {
        copySourceTeams(t, source);
    } else {
        t.Append();
        t.SetField("NOCD", 1);
        t.Post();
    }
    t.Close();
    tx.Commit();
}

void writeTeamRow(Table& t, const StringGrid& g, int row) {
    t.SetField("T_NAME", g.Cells(1, row));
    t.SetField("T_KANA", g.Cells(2, row));
    t.SetField("T_CLS", g.Cells(3, row));
    t.SetField("REMARK", cellInt(g, 4, row));
    t.SetField("MyClass", g.Cells(5, row));
    t.SetField("LastTime", mainForm().TimeDigitsToSeconds(cellInt(g, 6, row)));
}

// Columns of a team row as LoadTeamsToGrid reads them, NOCD first.
const char* const kTeamColumns = "NOCD, T_NAME, T_KANA, T_CLS, REMARK, MyClass, LastTime";

void readTeamRow(const std::vector<Value>& v, StringGrid& g, int row) {
    for (int c : {1, 2, 3, 5})
        g.SetCellsQuiet(c, row, v[c].AsString());
    g.SetCellsQuiet(4, row, Format("%d", v[4].AsInteger()));
    g.SetCellsQuiet(6, row, Format("%d", mainForm().SecondsToDigits(v[6].AsInteger())));
}

// Runner rows are written by row number where the table holds them, inserted where it
// does not: the numbers are read first, so no statement looks up the key or settles a
// conflict (an upsert pays for a new row number and a statement journal per row). The
// fixed-size cut of the names is applied here, as these values do not pass the engine's
// cursor. ?1 is the row number of an update, the key of an insert.
struct RunnerWrites {
    Query update, insert;
};

RunnerWrites prepareRunnerWrites(const std::string& file) {
    Database& db = RaceDb();
    return {
        db.Prepare("UPDATE " + file +
                   " SET R_SEI=?2, R_MEI=?3, R_SEIKANA=?4, R_MEIKANA=?5, G_AGE=?6, REMARK=?7 WHERE rowid=?1"),
        db.Prepare("INSERT INTO " + file +
                   " (Team_Kukan, R_SEI, R_MEI, R_SEIKANA, R_MEIKANA, G_AGE, REMARK)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)")};
}

void writeRunnerRow(Query& q, long long id, const StringGrid& g, int row) {
    std::string names[4]; // bound by reference: they live until the statement has run
    q.Bind(1, Value(id));
    for (int c = 1; c <= 4; ++c) {
        names[c - 1] = TrimRight(CutSjis(g.Cells(c, row), kRunnerTextBytes));
        q.BindTextRef(c + 1, names[c - 1]);
    }
    q.Bind(6, Value(cellInt(g, 5, row)));
    q.Bind(7, Value(cellInt(g, 6, row)));
    q.Exec();
}

// The team's runner rows (columns after the key) in one statement, ready to step; the
// key comes first, so that slotOf places a row.
Query teamRunnerRows(const std::string& columns, const Table& t, int team) {
    Query q = RaceDb().Prepare("SELECT Team_Kukan, " + columns + " FROM " + t.TableName() +
                               " WHERE Team_Kukan BETWEEN ?1 AND ?2");
    q.Bind(1, Value(RunnerKey(team, 0))).Bind(2, Value(RunnerKey(team, lastSlot())));
    return q;
}

int slotOf(const Query& q, int team) {
    return static_cast<int>(q.ColumnInt(0)) - RunnerKey(team, 0);
}

// Row numbers of the team's stored runner rows by slot, from the key index alone.
std::vector<std::optional<long long>> runnerRowIds(const Table& t, int team) {
    Query q = teamRunnerRows("rowid", t, team);
    std::vector<std::optional<long long>> ids(lastSlot() + 1);
    while (q.Step())
        ids[slotOf(q, team)] = q.ColumnInt(1);
    q.Reset();
    return ids;
}

// Columns of a runner row as LoadRunnersToGrid reads them, after the key.
const char* const kRunnerColumns = "R_SEI, R_MEI, R_SEIKANA, R_MEIKANA, G_AGE, REMARK";

// The row the query stands on, straight into the grid.
void readRunnerRow(const Query& q, StringGrid& g, int row) {
    for (int c = 1; c <= 4; ++c)
        g.SetCellsQuiet(c, row, q.ColumnText(c));
    const int age = static_cast<int>(q.ColumnInt(5));
    g.SetCellsQuiet(5, row, age != 0 ? IntToStr(age) : std::string());
    g.SetCellsQuiet(6, row, IntToStr(static_cast<int>(q.ColumnInt(6))));
}

// Rows of a table read with one statement: a walk by FindKey would lock the files per row.
std::vector<std::vector<Value>> selectRows(const std::string& columns, const Table& t,
                                           const std::string& where, const std::vector<Value>& params) {
    Query q = RaceDb().Prepare("SELECT " + columns + " FROM " + t.TableName() + where);
    q.BindAll(params);
    return q.All();
}

// Keys the table holds between the two (one statement).
std::set<int> storedKeys(const Table& t, const char* keyField, int from, int to) {
    Query q = RaceDb().Prepare(std::string("SELECT ") + keyField + " FROM " + t.TableName() + " WHERE " +
                               keyField + " BETWEEN ?1 AND ?2");
    q.Bind(1, Value(from)).Bind(2, Value(to));
    std::set<int> keys;
    while (q.Step())
        keys.insert(q.Column(0).AsInteger());
    q.Reset();
    return keys;
}

// Positions on the row of the key, appending it (key set) when missing; edit state.
void editOrAppend(Table& t, const char* keyField, int key) {
    if (t.FindKey({Value(key)})) {
        t.Edit();
        return;
    }
    t.Append();
    t.SetField(keyField, key);
}

// Moving the up-down control by program does not run its change handler.
void setQuietly(SpinEdit& s, int value) {
    auto handler = std::move(s.OnChange);
    s.OnChange = nullptr;
    s.SetValue(value);
    s.OnChange = std::move(handler);
}

// Runs one statement on every row of the table file, then back to its first row.
void updateAll(Table& t, const std::string& set) {
    RaceDb().Exec("UPDATE " + t.TableName() + " SET " + set);
    t.First();
}

} // namespace

std::string TeamTableName(int taikaiNo) {
    return Format("チーム情報%03d.db", taikaiNo);
}
std::string RunnerTableName(int taikaiNo) {
    return Format("選手情報%03d.db", taikaiNo);
}
std::string DelayTableName(int taikaiNo) {
    return Format("待機情報%03d.db", taikaiNo);
}

// ---- Team table ----

void OpenTeamTable() {
    RaceDb();
    Table& t = DataMdl->Table2;
    t.Close();
    t.SetTableName(TeamTableName(mainForm().TaikaiNo));
    if (!t.Exists()) {
        createTeamTable(t);
    } else if (t.GetDatabase()->Fields(t.TableName()).size() != kTeamFieldCount) {
        migrateTeamTable(t);
    }
    t.Open(); // on the first row
    t.Edit();
}

void CreateTeamTableDefs() {
    Table& t = DataMdl->Table2;
    t.Close();
    if (t.Exists()) t.DeleteTable();
    t.CreateTable(teamFields(), {"NOCD"});
}

void SaveTeamRows() {
    TMainForm& f = mainForm();
    if (!f.TaikaiOpen || !editionInUse()) return;
    Transaction tx(RaceDb());
    OpenTeamTable();
    Table& t = DataMdl->Table2;
    StringGrid& g = f.TeamEntryGrid;
    // Only rows changed since the grid was loaded or saved, and rows the table lacks.
    const std::set<int> stored = storedKeys(t, "NOCD", 1, f.TeamNum);
    for (int row = 1; row <= f.TeamNum; ++row) {
        const int team = StrToIntDef(g.Cells(0, row), -999);
        // A row without a valid team number is not stored over another team's row.
        if (team < 1 || team > f.TeamNum) continue;
        if (!g.RowModified(row) && stored.count(team)) continue;
        editOrAppend(t, "NOCD", team);
        writeTeamRow(t, g, row);
        t.Post();
    }
    tx.Commit();
    g.ClearModified();
}

void SaveTeamThisTime(int team, int value) {
    if (!editionInUse()) return;
    OpenTeamTable();
    Table& t = DataMdl->Table2;
    if (!t.FindKey({Value(team)})) return;
    t.Edit();
    t.SetField("thisTime", value);
    t.Post();
}

void PurgeTeamsAboveCount() {
    if (!editionInUse()) return;
    Transaction tx(RaceDb());
    OpenTeamTable();
    Table& t = DataMdl->Table2;
    for (int team = mainForm().TeamNum + 1; team <= kMaxTeams + 1; ++team)
        if (t.FindKey({Value(team)})) t.Delete();
    tx.Commit();
}

void ClearTeamRecords() {
    if (!editionInUse()) return;
    OpenTeamTable();
    updateAll(DataMdl->Table2,
              "T_NAME='', T_KANA='', T_CLS='', MyClass='', REMARK=0, LastTime=0, thisTime=0");
}

void LoadTeamsToGrid() {
    TMainForm& f = mainForm();
    if (!editionInUse()) return;
    OpenTeamTable();
    std::map<int, std::vector<Value>> byTeam;
    for (auto& v : selectRows(kTeamColumns, DataMdl->Table2, "", {}))
        byTeam[v[0].AsInteger()] = std::move(v);
    StringGrid& g = f.TeamEntryGrid;
    GridUpdate update(g);
    for (int row = 1; row <= f.TeamNum; ++row) {
        auto it = byTeam.find(StrToIntDef(g.Cells(0, row), -999));
        if (it != byTeam.end()) readTeamRow(it->second, g, row);
    }
    g.ClearModified();
}

// ---- Runner table ----

void OpenRunnerTable() {
    openOrCreate(DataMdl->Table3, RunnerTableName(mainForm().TaikaiNo), runnerFields(), "Team_Kukan");
}

void LoadRunnersToGrid() {
    TMainForm& f = mainForm();
    if (!editionInUse()) return;
    const int team = f.CurrTeamNo;
    if (team >= 1) setQuietly(f.TeamUpDown, team);
    OpenRunnerTable();
    StringGrid& g = f.RunnerEntryGrid;
    GridUpdate update(g);
    // Rows kept beyond the slot count belong to the team shown before.
    g.DropHiddenCells();
    Query q = teamRunnerRows(kRunnerColumns, DataMdl->Table3, team);
    std::vector<bool> read(lastSlot() + 1, false);
    while (q.Step()) {
        const int slot = slotOf(q, team);
        readRunnerRow(q, g, slot + 1);
        read[slot] = true;
    }
    q.Reset();
    // A slot without a row shows empty, its OP cell included.
    for (int slot = 0; slot <= lastSlot(); ++slot)
        for (int c = 1; c <= 6 && !read[slot]; ++c)
            g.SetCellsQuiet(c, slot + 1, "");
    f.RunnerGridTeam = team;
    g.ClearModified();
}

void SaveRunnerRows() {
    TMainForm& f = mainForm();
    // The rows go to the team the grid was loaded with. Team 0 is no team: its rows
    // would count as one more team.
    const int team = f.RunnerGridTeam;
    if (!editionInUse() || team < 1) return;
    Transaction tx(RaceDb());
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    StringGrid& g = f.RunnerEntryGrid;
    RunnerWrites writes = prepareRunnerWrites(t.TableName());
    // Only rows changed since the grid was loaded or saved, and slots the table lacks.
    const auto stored = runnerRowIds(t, team);
    for (int slot = 0; slot <= lastSlot(); ++slot) {
        if (!stored[slot])
            writeRunnerRow(writes.insert, RunnerKey(team, slot), g, slot + 1);
        else if (g.RowModified(slot + 1))
            writeRunnerRow(writes.update, *stored[slot], g, slot + 1);
    }
    t.First(); // the cursor reads the rows as stored now
    t.Edit();
    tx.Commit();
    g.ClearModified();
}

// Teams, not records: slots kept beyond a lowered leg count must not look like more teams.
int RunnerTeamCount() {
    if (lastSlot() < 0 || !editionInUse()) return -1;
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    Query q = RaceDb().Prepare("SELECT COUNT(DISTINCT Team_Kukan / " + std::to_string(RunnerKey(1, 0)) + ") FROM " + t.TableName());
    const int n = q.Step() ? static_cast<int>(q.ColumnInt(0)) : 0;
    q.Reset();
    t.Close();
    return n;
}

void EnsureTeamRunnerRecords(int team) {
    if (!editionInUse()) return;
    Transaction tx(RaceDb());
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    for (int slot = 0; slot <= lastSlot(); ++slot) {
        if (t.FindKey({Value(RunnerKey(team, slot))})) continue;
        t.Append();
        t.SetField("Team_Kukan", RunnerKey(team, slot));
        t.SetField("REMARK", 0);
        t.SetField("G_AGE", 0);
        t.Post();
    }
    tx.Commit();
}

// Every slot of the team, those kept beyond a lowered leg count too: a team left with
// some records would still count as one.
void DeleteTeamRunners(int team) {
    if (!editionInUse()) return;
    Transaction tx(RaceDb());
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    RaceDb().Exec("DELETE FROM " + t.TableName() + " WHERE Team_Kukan BETWEEN ?1 AND ?2",
                  {Value(RunnerKey(team, 0)), Value(RunnerKey(team + 1, 0) - 1)});
    t.First();
    tx.Commit();
}

void ClearRunnerRecords() {
    if (!editionInUse()) return;
    OpenRunnerTable();
    updateAll(DataMdl->Table3, "R_SEI='', R_MEI='', R_SEIKANA='', R_MEIKANA='', G_AGE=0, REMARK=0");
}

// ---- Waiting table ----

void OpenDelayTable() {
    openOrCreate(DataMdl->Table4, DelayTableName(mainForm().TaikaiNo), delayFields(), "Kukan_Team");
}
