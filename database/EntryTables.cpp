// Team, runner and waiting tables of the edition in use, and the entry grids.
#include "database/EntryTables.h"

#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

#include <strings.h>

namespace {

constexpr int kTeamFieldCount = 8;

TMainForm& mainForm() { return *MainForm; }

std::vector<FieldDef> teamFields() {
    using T = FieldType;
    return {{"NOCD", T::Integer},     {"T_NAME", T::FixedChar, 40}, {"T_KANA", T::FixedChar, 40},
            {"T_CLS", T::FixedChar, 3}, {"REMARK", T::Smallint},    {"MyClass", T::FixedChar, 1},
            {"LastTime", T::Integer}, {"thisTime", T::Integer}};
}

std::vector<FieldDef> runnerFields() {
    using T = FieldType;
    return {{"Team_Kukan", T::Integer},    {"R_SEI", T::FixedChar, 20},     {"R_MEI", T::FixedChar, 20},
            {"R_SEIKANA", T::FixedChar, 20}, {"R_MEIKANA", T::FixedChar, 20}, {"G_AGE", T::Smallint},
            {"REMARK", T::Smallint}};
}

std::vector<FieldDef> delayFields() {
    using T = FieldType;
    return {{"Kukan_Team", T::Integer}, {"DTIME", T::Integer}, {"KUKAN", T::Integer}};
}

// Tables exist only for an edition of an open race folder.
bool editionInUse() { return mainForm().TaikaiNo >= 1 && !mainForm().DataFolder.empty(); }

int lastSlot() { return mainForm().KukanNum + mainForm().HoketuNum; }

int cellInt(const StringGrid& g, int col, int row) { return StrToIntDef(g.Cells(col, row), 0); }

// Opens the table, creating it empty when missing; first row, edit state.
void openOrCreate(Table& t, const std::string& file, const std::vector<FieldDef>& fields, const char* key) {
    RaceDb();
    t.Close();
    t.SetTableName(file);
    if (!t.Exists()) t.CreateTable(fields, {key});
    t.Open();
    t.First();
    t.Edit();
}

bool hasField(const Table& t, const std::string& name) {
    for (const FieldDef& f : t.FieldDefs())
        if (strcasecmp(f.Name.c_str(), name.c_str()) == 0) return true;
    return false;
}

std::vector<std::string> fieldNames(const Table& t) {
    std::vector<std::string> names;
    for (const FieldDef& f : t.FieldDefs()) names.push_back(f.Name);
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
        for (const std::string& f : present) to.SetField(f, from.Field(f));
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

void readTeamRow(const Table& t, StringGrid& g, int row) {
    g.SetCellsQuiet(1, row, t.FieldStr("T_NAME"));
    g.SetCellsQuiet(2, row, t.FieldStr("T_KANA"));
    g.SetCellsQuiet(3, row, t.FieldStr("T_CLS"));
    g.SetCellsQuiet(4, row, Format("%d", t.FieldInt("REMARK")));
    g.SetCellsQuiet(5, row, t.FieldStr("MyClass"));
    g.SetCellsQuiet(6, row, Format("%d", mainForm().SecondsToDigits(t.FieldInt("LastTime"))));
}

const char* const kRunnerTexts[] = {"R_SEI", "R_MEI", "R_SEIKANA", "R_MEIKANA"};

void writeRunnerRow(Table& t, const StringGrid& g, int row) {
    for (int c = 1; c <= 4; ++c) t.SetField(kRunnerTexts[c - 1], g.Cells(c, row));
    t.SetField("G_AGE", cellInt(g, 5, row));
    t.SetField("REMARK", cellInt(g, 6, row));
}

void readRunnerRow(const Table& t, StringGrid& g, int row) {
    for (int c = 1; c <= 4; ++c) g.SetCellsQuiet(c, row, t.FieldStr(kRunnerTexts[c - 1]));
    const int age = t.FieldInt("G_AGE");
    g.SetCellsQuiet(5, row, age != 0 ? Format("%d", age) : std::string());
    g.SetCellsQuiet(6, row, Format("%d", t.FieldInt("REMARK")));
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

std::string TeamTableName(int taikaiNo) { return Format("チーム情報%03d.db", taikaiNo); }
std::string RunnerTableName(int taikaiNo) { return Format("選手情報%03d.db", taikaiNo); }
std::string DelayTableName(int taikaiNo) { return Format("待機情報%03d.db", taikaiNo); }

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
    t.Open();
    t.First();
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
    for (int row = 1; row <= f.TeamNum; ++row) {
        const int team = StrToIntDef(g.Cells(0, row), -999);
        // A row without a valid team number is not stored over another team's row.
        if (team < 1 || team > f.TeamNum) continue;
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
    updateAll(DataMdl->Table2, "T_NAME='', T_KANA='', T_CLS='', MyClass='', REMARK=0, LastTime=0, thisTime=0");
}

void LoadTeamsToGrid() {
    TMainForm& f = mainForm();
    if (!editionInUse()) return;
    OpenTeamTable();
    Table& t = DataMdl->Table2;
    StringGrid& g = f.TeamEntryGrid;
    for (int row = 1; row <= f.TeamNum; ++row)
        if (t.FindKey({Value(cellInt(g, 0, row))})) readTeamRow(t, g, row);
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
    Table& t = DataMdl->Table3;
    StringGrid& g = f.RunnerEntryGrid;
    for (int slot = 0; slot <= lastSlot(); ++slot) {
        if (t.FindKey({Value(RunnerKey(team, slot))})) {
            readRunnerRow(t, g, slot + 1);
        } else {
            for (int c = 1; c <= 6; ++c) g.SetCellsQuiet(c, slot + 1, "");
        }
    }
    f.EntryTab.ShowPage(0);
    g.ClearModified();
}

void SaveRunnerRows() {
    TMainForm& f = mainForm();
    // Team 0 is no team: its rows would count as one more team.
    if (!editionInUse() || f.CurrTeamNo < 1) return;
    Transaction tx(RaceDb());
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    StringGrid& g = f.RunnerEntryGrid;
    for (int slot = 0; slot <= lastSlot(); ++slot) {
        editOrAppend(t, "Team_Kukan", RunnerKey(f.CurrTeamNo, slot));
        writeRunnerRow(t, g, slot + 1);
        t.Post();
    }
    tx.Commit();
    g.ClearModified();
}

int RunnerTeamCount() {
    const int slots = lastSlot() + 1;
    if (slots < 1 || !editionInUse()) return -1;
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    const int n = t.RecordCount() / slots;
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

void DeleteTeamRunners(int team) {
    if (!editionInUse()) return;
    Transaction tx(RaceDb());
    OpenRunnerTable();
    Table& t = DataMdl->Table3;
    for (int slot = 0; slot <= lastSlot(); ++slot)
        if (t.FindKey({Value(RunnerKey(team, slot))})) t.Delete();
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
