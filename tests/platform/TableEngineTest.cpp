#include "platform/TableEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::vector<FieldDef> kTeamFields = {
    {"NOCD", FieldType::Integer, 0, true},     {"T_NAME", FieldType::FixedChar, 40, false},
    {"T_CLS", FieldType::FixedChar, 5, false}, {"REMARK", FieldType::Smallint, 0, false},
    {"DIST", FieldType::Float, 0, false},      {"OP_DATE", FieldType::Date, 0, false},
    {"NOTE", FieldType::Memo, 0, false},       {"K_INF", FieldType::Bytes, 0, false},
};

class TableEngineTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Database> db = std::make_unique<Database>(dir.path());
    Table teams = tableOn("チーム情報001.db");

    Table tableOn(const std::string& file) {
        Table t;
        t.SetDatabase(db.get());
        t.SetTableName(file);
        return t;
    }
    // A team table holding these numbers, open.
    void createTeams(std::initializer_list<int> numbers) {
        teams.CreateTable(kTeamFields, {"NOCD"});
        teams.Open();
        for (int n : numbers) {
            teams.Append();
            teams.SetField("NOCD", n);
            teams.SetField("T_NAME", "team" + std::to_string(n));
            teams.Post();
        }
    }
    std::vector<int> walk(const std::string& field = "NOCD") {
        std::vector<int> out;
        for (teams.First(); !teams.Eof(); teams.Next())
            out.push_back(teams.FieldInt(field));
        return out;
    }
    // A fresh connection: what another run of the program finds on disk.
    void reopen() {
        teams.Close();
        db = std::make_unique<Database>(dir.path());
        teams.SetDatabase(db.get());
        teams.Open();
    }
};

} // namespace

// ---- tables: create, open, define, delete ----

TEST_F(TableEngineTest, OpenOfMissingTableThrowsAndCreatesNoFile) {
    EXPECT_FALSE(teams.Exists());
    EXPECT_THROW(teams.Open(), TableNotFound);
    EXPECT_FALSE(fs::exists(dir.path() / "チーム情報001.db"));
    EXPECT_FALSE(db->TableExists(Database::RaceFile));
}

TEST_F(TableEngineTest, CreatedTableOpensEmptyAndLivesInItsOwnFile) {
    teams.CreateTable(kTeamFields, {"NOCD"});
    EXPECT_TRUE(fs::exists(dir.path() / "チーム情報001.db"));
    EXPECT_TRUE(teams.Exists());
    teams.Open();
    EXPECT_TRUE(teams.Eof());
    EXPECT_EQ(teams.RecordCount(), 0);
    EXPECT_EQ(teams.FieldCount(), 8);
    EXPECT_TRUE(db->SqlName("チーム情報001.db").ends_with(".\"チーム情報001\""));
    EXPECT_EQ(db->SqlName(Database::RaceFile), "\"main\".\"大会情報\"");
}

TEST_F(TableEngineTest, FieldDefinitionsComeBackAsCreated) {
    teams.CreateTable(kTeamFields, {"REMARK", "NOCD"});
    db = std::make_unique<Database>(dir.path());
    const std::vector<FieldDef> back = db->Fields("チーム情報001.db");
    ASSERT_EQ(back.size(), kTeamFields.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].Name, kTeamFields[i].Name);
        EXPECT_EQ(back[i].Type, kTeamFields[i].Type) << back[i].Name;
        EXPECT_EQ(back[i].Size, kTeamFields[i].Size) << back[i].Name;
        EXPECT_EQ(back[i].Required, kTeamFields[i].Required) << back[i].Name;
    }
    EXPECT_EQ(db->KeyFields("チーム情報001.db"), (std::vector<std::string>{"REMARK", "NOCD"}));
}

TEST_F(TableEngineTest, RequiredFieldMustBeSet) {
    createTeams({});
    teams.Append();
    teams.SetField("T_NAME", "no number");
    EXPECT_THROW(teams.Post(), DbError);
}

TEST_F(TableEngineTest, DeleteTableRemovesFileAndTableCanBeMadeAgain) {
    createTeams({1, 2});
    teams.Close();
    teams.DeleteTable();
    EXPECT_FALSE(fs::exists(dir.path() / "チーム情報001.db"));
    EXPECT_FALSE(fs::exists(dir.path() / "チーム情報001.db-journal"));
    EXPECT_FALSE(teams.Exists());
    EXPECT_THROW(teams.Open(), TableNotFound);
    createTeams({5});
    EXPECT_EQ(walk(), std::vector<int>{5});
}

TEST_F(TableEngineTest, DeleteOfRaceTableKeepsTheRaceFile) {
    Table race = tableOn(Database::RaceFile);
    race.CreateTable({{"IDN", FieldType::Integer, 0, true}}, {"IDN"});
    EXPECT_TRUE(race.Exists());
    race.DeleteTable();
    EXPECT_FALSE(race.Exists());
    EXPECT_TRUE(fs::exists(dir.path() / Database::RaceFile));
}

// ---- cursor ----

TEST_F(TableEngineTest, WalkIsInKeyOrderNotInsertOrder) {
    createTeams({30, 10, 20});
    EXPECT_EQ(walk(), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(teams.RecordCount(), 3);
    teams.Next(); // past the end the last row stays current
    EXPECT_TRUE(teams.Eof());
    EXPECT_EQ(teams.FieldInt("NOCD"), 30);
}

TEST_F(TableEngineTest, WalkOverTwoFieldKey) {
    Table t = tableOn("待機情報001.db");
    t.CreateTable({{"KUKAN", FieldType::Integer}, {"TEAM", FieldType::Integer}}, {"KUKAN", "TEAM"});
    t.Open();
    for (auto [k, n] : {std::pair{2, 1}, {1, 3}, {2, 0}, {1, 1}}) {
        t.Append();
        t.SetField("KUKAN", k);
        t.SetField("TEAM", n);
        t.Post();
    }
    std::vector<int> seen;
    for (t.First(); !t.Eof(); t.Next())
        seen.push_back(t.FieldInt("KUKAN") * 10 + t.FieldInt("TEAM"));
    EXPECT_EQ(seen, (std::vector<int>{11, 13, 20, 21}));
    ASSERT_TRUE(t.FindKey({2}));
    EXPECT_EQ(t.FieldInt("TEAM"), 0);
}

TEST_F(TableEngineTest, FindKeyPositionsOrLeavesCursorWhereItWas) {
    createTeams({1, 2, 3});
    ASSERT_TRUE(teams.FindKey({2}));
    EXPECT_EQ(teams.FieldStr("T_NAME"), "team2");
    EXPECT_FALSE(teams.FindKey({7}));
    EXPECT_EQ(teams.FieldInt("NOCD"), 2);
    teams.Next();
    EXPECT_EQ(teams.FieldInt("NOCD"), 3);
    EXPECT_THROW(teams.Field("NO_SUCH"), DbError);
}

TEST_F(TableEngineTest, PostChangesRowInPlaceIncludingItsKey) {
    createTeams({10, 20, 30});
    ASSERT_TRUE(teams.FindKey({10}));
    teams.Edit();
    teams.SetField("NOCD", 40);
    teams.SetField("REMARK", 1);
    teams.Post();
    EXPECT_EQ(teams.GetState(), Table::State::Browse);
    EXPECT_EQ(teams.FieldStr("T_NAME"), "team10");
    teams.Next();
    EXPECT_TRUE(teams.Eof()); // the cursor stayed on the moved row, now the last
    reopen();
    EXPECT_EQ(walk(), (std::vector<int>{20, 30, 40}));
    ASSERT_TRUE(teams.FindKey({40}));
    EXPECT_EQ(teams.FieldInt("REMARK"), 1);
}

TEST_F(TableEngineTest, DuplicateKeyThrowsKeyViolationAndChangesNothing) {
    createTeams({10, 20});
    ASSERT_TRUE(teams.FindKey({10}));
    teams.Edit();
    teams.SetField("NOCD", 20);
    teams.SetField("T_NAME", "changed");
    EXPECT_THROW(teams.Post(), KeyViolation);
    teams.Cancel();
    teams.Append();
    teams.SetField("NOCD", 10);
    EXPECT_THROW(teams.Post(), KeyViolation);
    teams.Cancel();
    reopen();
    EXPECT_EQ(walk(), (std::vector<int>{10, 20}));
    ASSERT_TRUE(teams.FindKey({10}));
    EXPECT_EQ(teams.FieldStr("T_NAME"), "team10");
}

TEST_F(TableEngineTest, SetFieldOnlyWhileEditing) {
    createTeams({1});
    EXPECT_THROW(teams.SetField("T_NAME", "x"), DbError);
    teams.Edit();
    teams.SetField("T_NAME", "x");
    teams.Cancel();
    EXPECT_EQ(teams.FieldStr("T_NAME"), "team1");
}

TEST_F(TableEngineTest, MovingPostsTheRowBeingEdited) {
    createTeams({1, 2});
    teams.First();
    teams.Edit();
    teams.SetField("REMARK", 2);
    teams.Next();
    EXPECT_EQ(teams.GetState(), Table::State::Browse);
    reopen();
    EXPECT_EQ(teams.FieldInt("REMARK"), 2);
}

TEST_F(TableEngineTest, DeleteMovesToNextRow) {
    createTeams({1, 2, 3});
    ASSERT_TRUE(teams.FindKey({2}));
    teams.Delete();
    EXPECT_FALSE(teams.Eof());
    EXPECT_EQ(teams.FieldInt("NOCD"), 3);
    teams.Delete();
    EXPECT_TRUE(teams.Eof());
    EXPECT_EQ(walk(), std::vector<int>{1});
}

// ---- values ----

TEST_F(TableEngineTest, FixedCharIsCutAtCharacterBoundaryWithoutTrailingBlanks) {
    createTeams({1});
    teams.Edit();
    teams.SetField("T_CLS", "東京都ABC");
    EXPECT_EQ(teams.FieldStr("T_CLS"), "東京");
    teams.SetField("T_NAME", "ﾁｰﾑ  ");
    teams.Post();
    reopen();
    EXPECT_EQ(teams.FieldStr("T_CLS"), "東京");
    EXPECT_EQ(teams.FieldStr("T_NAME"), "ﾁｰﾑ");
    teams.Edit();
    teams.SetField("T_CLS", "ｱｲｳｴｵｶ");
    EXPECT_EQ(teams.FieldStr("T_CLS"), "ｱｲｳｴｵ");
}

TEST_F(TableEngineTest, ValuesAreStoredAsTheFieldTypeWants) {
    createTeams({1});
    teams.Edit();
    teams.SetField("REMARK", "12");
    teams.SetField("DIST", "5.095");
    teams.SetField("OP_DATE", "2009/4/5");
    teams.SetField("NOTE", 3);
    teams.Post();
    reopen();
    EXPECT_EQ(teams.Field("REMARK").kind(), Value::Kind::Int);
    EXPECT_EQ(teams.FieldInt("REMARK"), 12);
    EXPECT_DOUBLE_EQ(teams.Field("DIST").AsFloat(), 5.095);
    EXPECT_EQ(teams.FieldStr("DIST"), "5.095");
    EXPECT_EQ(teams.FieldStr("OP_DATE"), "2009-04-05");
    EXPECT_EQ(teams.FieldStr("NOTE"), "3");
    EXPECT_TRUE(teams.Field("K_INF").IsNull());
    EXPECT_EQ(teams.FieldInt("T_CLS"), 0);
}

TEST_F(TableEngineTest, BlobsKeepEveryByte) {
    createTeams({1, 2});
    std::string bytes("\x01\0\0\0\xff\xfe\0", 7);
    bytes += std::string(100, '\0');
    teams.First();
    teams.Edit();
    teams.WriteBlob("K_INF", bytes);
    teams.Next();
    teams.Edit();
    teams.WriteBlob("K_INF", "");
    teams.Post();
    reopen();
    EXPECT_EQ(teams.ReadBlob("K_INF"), bytes);
    teams.Next();
    EXPECT_FALSE(teams.Field("K_INF").IsNull());
    EXPECT_EQ(teams.ReadBlob("K_INF"), "");
}

// ---- SQL with table file names ----

TEST_F(TableEngineTest, ResolveNamesFilesButNotTextsOrQualifiers) {
    createTeams({});
    tableOn("temptable.db").CreateTable({{"TeamID", FieldType::Integer}}, {"TeamID"});
    const std::string sql = db->Resolve("SELECT temptable.TeamID FROM temptable.db, \"チーム情報001.db\" "
                                        "WHERE x='a.db' AND y IN (SELECT IDN FROM 大会情報.db)");
    const std::string temp = db->SqlName("temptable.db"), team = db->SqlName("チーム情報001.db");
    EXPECT_EQ(sql, "SELECT temptable.TeamID FROM " + temp + ", " + team +
                       " WHERE x='a.db' AND y IN (SELECT IDN FROM \"main\".\"大会情報\")");
    EXPECT_NE(temp, team);
}

TEST_F(TableEngineTest, QueryJoinsTableFilesWithBoundValues) {
    createTeams({1, 2, 3});
    Table temp = tableOn("temptable.db");
    temp.CreateTable({{"TeamID", FieldType::Integer, 0, true}, {"Ttime_1", FieldType::Integer}}, {"TeamID"});
    for (auto [id, t] : {std::pair{1, 300}, {2, 100}, {3, 200}})
        db->Exec("INSERT INTO temptable.db VALUES (?, ?)", {id, t});
    Query q = db->Prepare("SELECT チーム情報001.T_NAME FROM temptable.db, チーム情報001.db "
                          "WHERE temptable.TeamID = チーム情報001.NOCD AND Ttime_1 > ? ORDER BY Ttime_1");
    q.Bind(1, 150);
    std::vector<std::string> names;
    while (q.Step())
        names.push_back(q.Column("T_NAME").AsString());
    EXPECT_EQ(names, (std::vector<std::string>{"team3", "team1"}));
    // A user's text stays a value, even when it looks like a table file.
    EXPECT_EQ(db->Exec("UPDATE チーム情報001.db SET T_NAME=? WHERE NOCD=?", {"x.db'; DROP", 2}), 1);
    EXPECT_EQ(db->Prepare("SELECT T_NAME FROM \"チーム情報001.db\" WHERE NOCD=2").All()[0][0].AsString(),
              "x.db'; DROP");
    EXPECT_THROW(db->Exec("SELECT * FROM nosuch.db"), TableNotFound);
    EXPECT_FALSE(fs::exists(dir.path() / "nosuch.db"));
}

// The lean readers of many-row reads give what Column gives; a text bound by reference
// is stored as that text ('' stays '', not NULL).
TEST_F(TableEngineTest, ColumnTextAndIntReadAsColumnDoes) {
    createTeams({});
    const std::vector<Value> values = {Value(),        Value(42),         Value(-7), Value(2.5),
                                       Value("  12 "), Value("東京"),     Value(""), Value("x9"),
                                       Value(3.5e9),   Value::Bytes("ab")};
    Query q = db->Prepare("SELECT ?1");
    for (const Value& v : values) {
        q.Bind(1, v);
        ASSERT_TRUE(q.Step());
        EXPECT_EQ(q.ColumnText(0), q.Column(0).AsString()) << v.AsString();
        EXPECT_EQ(q.ColumnInt(0), q.Column(0).AsInt64()) << v.AsString();
        q.Reset();
    }
    EXPECT_THROW(q.ColumnText(1), DbError);

    Query insert = db->Prepare("INSERT INTO チーム情報001.db (NOCD, T_NAME, T_CLS) VALUES (?1, ?2, ?3)");
    for (int n : {1, 2}) {
        const std::string name = n == 1 ? "一区" : "", cls = std::to_string(n * 11);
        insert.Bind(1, n).BindTextRef(2, name).BindTextRef(3, cls).Exec();
    }
    const auto rows =
        db->Prepare("SELECT T_NAME, typeof(T_NAME), T_CLS FROM チーム情報001.db ORDER BY NOCD").All();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].AsString(), "一区");
    EXPECT_EQ(rows[1][1].AsString(), "text");
    EXPECT_EQ(rows[1][2].AsString(), "22");
}

// ---- transactions ----

TEST_F(TableEngineTest, InnerRollbackUndoesTheWholeTransaction) {
    createTeams({1});
    {
        Transaction outer(*db);
        db->Exec("UPDATE チーム情報001.db SET REMARK=1");
        try {
            Transaction inner(*db);
            db->Exec("UPDATE チーム情報001.db SET NOCD=2");
            throw std::runtime_error("stop");
        } catch (const std::runtime_error&) {
        }
        EXPECT_THROW(outer.Commit(), DbError);
    }
    EXPECT_FALSE(db->InTransaction());
    reopen();
    EXPECT_EQ(walk("REMARK"), std::vector<int>{0});
    EXPECT_EQ(walk(), std::vector<int>{1});
}

TEST_F(TableEngineTest, OnlyTheOutermostCommitWrites) {
    createTeams({1});
    db->Begin();
    {
        Transaction inner(*db);
        db->Exec("UPDATE チーム情報001.db SET REMARK=3");
        inner.Commit();
    }
    db->Rollback();
    reopen();
    EXPECT_EQ(walk("REMARK"), std::vector<int>{0});
}

TEST_F(TableEngineTest, TableDeletedInsideTransactionComesBackOnRollback) {
    createTeams({1, 2});
    teams.Close();
    const fs::path file = dir.path() / "チーム情報001.db";
    db->Prepare("SELECT * FROM チーム情報001.db").Step(); // left unfinished, as a caller may
    {
        Transaction t(*db);
        teams.DeleteTable();
        EXPECT_FALSE(teams.Exists());
    }
    teams.Open();
    EXPECT_EQ(walk(), (std::vector<int>{1, 2}));
    teams.Close();
    {
        Transaction t(*db);
        teams.DeleteTable();
        EXPECT_TRUE(fs::exists(file)); // removed only once the drop is committed
        t.Commit();
    }
    EXPECT_FALSE(fs::exists(file));
}

// ---- crash safety across files ----

namespace {

// A file system layer that kills the process at the first write into one database file,
// so a commit can be cut between the files it writes.
struct KillFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool kill;
};
sqlite3_vfs* realVfs;
sqlite3_vfs killVfs;
sqlite3_io_methods killMethods;
std::string killTarget;
bool killArmed = false;

sqlite3_file* realOf(sqlite3_file* f) {
    return reinterpret_cast<KillFile*>(f)->real;
}

int killOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    auto* k = reinterpret_cast<KillFile*>(f);
    k->real = reinterpret_cast<sqlite3_file*>(k + 1);
    k->base.pMethods = nullptr;
    const int rc = realVfs->xOpen(realVfs, name, k->real, flags, outFlags);
    if (rc != SQLITE_OK) return rc;
    k->kill = name && (flags & SQLITE_OPEN_MAIN_DB) && fs::path(name).filename() == killTarget;
    k->base.pMethods = &killMethods;
    return rc;
}

void installKillVfs(const std::string& target) {
    killTarget = target;
    realVfs = sqlite3_vfs_find(nullptr);
    killVfs = *realVfs;
    killVfs.zName = "kill";
    killVfs.szOsFile = static_cast<int>(sizeof(KillFile)) + realVfs->szOsFile;
    killVfs.xOpen = killOpen;
    killMethods = sqlite3_io_methods{};
    killMethods.iVersion = 1;
    killMethods.xClose = [](sqlite3_file* f) { return realOf(f)->pMethods->xClose(realOf(f)); };
    killMethods.xRead = [](sqlite3_file* f, void* p, int n, sqlite3_int64 o) {
        return realOf(f)->pMethods->xRead(realOf(f), p, n, o);
    };
    killMethods.xWrite = [](sqlite3_file* f, const void* p, int n, sqlite3_int64 o) {
        if (killArmed && reinterpret_cast<KillFile*>(f)->kill) raise(SIGKILL);
        return realOf(f)->pMethods->xWrite(realOf(f), p, n, o);
    };
    killMethods.xTruncate = [](sqlite3_file* f, sqlite3_int64 s) {
        return realOf(f)->pMethods->xTruncate(realOf(f), s);
    };
    killMethods.xSync = [](sqlite3_file* f, int fl) { return realOf(f)->pMethods->xSync(realOf(f), fl); };
    killMethods.xFileSize = [](sqlite3_file* f, sqlite3_int64* s) {
        return realOf(f)->pMethods->xFileSize(realOf(f), s);
    };
    killMethods.xLock = [](sqlite3_file* f, int l) { return realOf(f)->pMethods->xLock(realOf(f), l); };
    killMethods.xUnlock = [](sqlite3_file* f, int l) { return realOf(f)->pMethods->xUnlock(realOf(f), l); };
    killMethods.xCheckReservedLock = [](sqlite3_file* f, int* r) {
        return realOf(f)->pMethods->xCheckReservedLock(realOf(f), r);
    };
    killMethods.xFileControl = [](sqlite3_file* f, int op, void* a) {
        return realOf(f)->pMethods->xFileControl(realOf(f), op, a);
    };
    killMethods.xSectorSize = [](sqlite3_file* f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); };
    killMethods.xDeviceCharacteristics = [](sqlite3_file* f) {
        return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
    };
    sqlite3_vfs_register(&killVfs, 1);
}

enum class KillAt { BeforeCommit, InsideCommit, AfterCommit };

// Runs in a child: one transaction over the race file and a team file, killed at `at`.
[[noreturn]] void writeBothAndDie(const fs::path& folder, KillAt at) {
    try {
        if (at == KillAt::InsideCommit) installKillVfs("チーム情報001.db");
        Database db(folder);
        db.Begin();
        db.Exec("UPDATE 大会情報.db SET R_NAME=?", {"new"});
        db.Exec("UPDATE チーム情報001.db SET T_NAME=?", {"new"});
        if (at == KillAt::BeforeCommit) raise(SIGKILL);
        killArmed = true;
        db.Commit();
        if (at == KillAt::AfterCommit) raise(SIGKILL);
    } catch (...) {
    }
    _exit(2); // not killed: the parent reports it
}

class TableEngineCrash : public ::testing::TestWithParam<KillAt> {
protected:
    TempDir dir;

    void SetUp() override {
        Database db(dir.path());
        db.CreateTable(Database::RaceFile,
                       {{"IDN", FieldType::Integer}, {"R_NAME", FieldType::FixedChar, 80}}, {"IDN"});
        db.CreateTable("チーム情報001.db",
                       {{"NOCD", FieldType::Integer}, {"T_NAME", FieldType::FixedChar, 40}}, {"NOCD"});
        db.Exec("INSERT INTO 大会情報.db VALUES (1, 'old')");
        db.Exec("INSERT INTO チーム情報001.db VALUES (1, 'old')");
    }
    std::pair<std::string, std::string> names() {
        Database db(dir.path());
        return {db.Prepare("SELECT R_NAME FROM 大会情報.db").All().at(0).at(0).AsString(),
                db.Prepare("SELECT T_NAME FROM チーム情報001.db").All().at(0).at(0).AsString()};
    }
    bool superJournalLeft() {
        for (const auto& e : fs::directory_iterator(dir.path()))
            if (e.path().filename().string().starts_with(std::string(Database::RaceFile) + "-mj"))
                return true;
        return false;
    }
};

} // namespace

TEST_P(TableEngineCrash, KilledProcessLeavesBothFilesOldOrBothNew) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) writeBothAndDie(dir.path(), GetParam());
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "child was not killed, status " << status;
    // Killed between the two files: the commit had begun, its super-journal is still there.
    EXPECT_EQ(superJournalLeft(), GetParam() == KillAt::InsideCommit);
    const std::string expected = GetParam() == KillAt::AfterCommit ? "new" : "old";
    EXPECT_EQ(names(), std::pair(expected, expected));
}

std::string killName(const ::testing::TestParamInfo<KillAt>& info) {
    switch (info.param) {
    case KillAt::BeforeCommit:
        return "BeforeCommit";
    case KillAt::InsideCommit:
        return "InsideCommit";
    default:
        return "AfterCommit";
    }
}

INSTANTIATE_TEST_SUITE_P(TableEngine, TableEngineCrash,
                         ::testing::Values(KillAt::BeforeCommit, KillAt::InsideCommit, KillAt::AfterCommit),
                         killName);
