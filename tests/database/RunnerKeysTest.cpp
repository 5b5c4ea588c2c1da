#include "database/RunnerKeys.h"
#include "platform/TableEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

const char* const kFile = "選手情報001.db";

using Row = std::tuple<std::string, std::string, std::string, std::string, int, int>;

class RunnerKeys : public ::testing::Test {
  protected:
    TempDir dir;
    Database db{dir.path()};

    void SetUp() override {
        using T = FieldType;
        db.CreateTable(kFile,
                       {{"Team_Kukan", T::Integer},
                        {"R_SEI", T::FixedChar, 20},
                        {"R_MEI", T::FixedChar, 20},
                        {"R_SEIKANA", T::FixedChar, 20},
                        {"R_MEIKANA", T::FixedChar, 20},
                        {"G_AGE", T::Smallint},
                        {"REMARK", T::Smallint}},
                       {"Team_Kukan"});
    }
    void put(int key, const Row& r) {
        db.Exec(std::string("INSERT INTO ") + kFile + " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                {Value(key), Value(std::get<0>(r)), Value(std::get<1>(r)), Value(std::get<2>(r)),
                 Value(std::get<3>(r)), Value(std::get<4>(r)), Value(std::get<5>(r))});
    }
    std::map<int, Row> all() {
        std::map<int, Row> out;
        Query q = db.Prepare(std::string("SELECT * FROM ") + kFile);
        for (auto& v : q.All())
            out[v[0].AsInteger()] = {v[1].AsString(), v[2].AsString(),  v[3].AsString(),
                                     v[4].AsString(), v[5].AsInteger(), v[6].AsInteger()};
        return out;
    }
};

Row runner(const std::string& tag, int age, int remark) {
    return {"姓" + tag, "名" + tag, "ｾｲ" + tag, "ﾒｲ" + tag, age, remark};
}

} // namespace

TEST_F(RunnerKeys, ReadFindsTheRecordByKeyAndNothingElse) {
    put(RunnerKey(3, 2), runner("a", 2, 1));
    auto r = ReadRunnerRecord(db, kFile, 302);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Sei, "姓a");
    EXPECT_EQ(r->MeiKana, "ﾒｲa");
    EXPECT_EQ(r->Age, 2);
    EXPECT_EQ(r->Remark, 1);
    EXPECT_FALSE(ReadRunnerRecord(db, kFile, 303));
    // An edition without a runner table has no runners, and that is no error.
    EXPECT_FALSE(ReadRunnerRecord(db, "選手情報002.db", 302));
}

TEST_F(RunnerKeys, SwapMovesEveryFieldOfEveryRunner) {
    // Teams 1 and 25, 3 slots; slot 2 of team 25 has no record.
    put(100, runner("1-0", 0, 0));
    put(101, runner("1-1", 3, 2));
    put(102, runner("1-2", 1, 1));
    put(2500, runner("25-0", 0, 0));
    put(2501, runner("25-1", 2, 3));
    put(301, runner("3-1", 4, 0)); // a bystander
    auto before = all();

    SwapTeamRunners(db, kFile, 1, 25, 3);

    auto after = all();
    EXPECT_EQ(after[2500], before[100]);
    EXPECT_EQ(after[2501], before[101]);
    EXPECT_EQ(after[2502], before[102]);
    EXPECT_EQ(after[100], before[2500]);
    EXPECT_EQ(after[101], before[2501]);
    EXPECT_EQ(after.count(102), 0u) << "a team without a record in a slot takes none";
    EXPECT_EQ(after[301], before[301]);
    EXPECT_EQ(after.size(), before.size()) << "no temporary key is left behind";
}

TEST_F(RunnerKeys, TemporaryKeysStayClearOfStrayKeys) {
    // Keys below zero are no real runners but must survive a re-keying untouched.
    put(-1, runner("x", 0, 0));
    put(-2, runner("y", 0, 0));
    put(101, runner("1-1", 1, 0));
    put(201, runner("2-1", 2, 0));
    auto before = all();
    SwapTeamRunners(db, kFile, 1, 2, 2);
    auto after = all();
    EXPECT_EQ(after[-1], before[-1]);
    EXPECT_EQ(after[-2], before[-2]);
    EXPECT_EQ(after[101], before[201]);
    EXPECT_EQ(after[201], before[101]);
    EXPECT_EQ(after.size(), 4u);
}

TEST_F(RunnerKeys, RefusedReKeyingChangesNothing) {
    put(101, runner("a", 1, 0));
    put(102, runner("b", 2, 0));
    put(103, runner("c", 3, 0));
    auto before = all();
    // 101 -> 102 while 102 stays: the target is held.
    EXPECT_THROW(RekeyRunnerRecords(db, kFile, {{103, 104}, {101, 102}}), DbError);
    EXPECT_EQ(all(), before) << "the move done before the failure is rolled back";
    EXPECT_THROW(RekeyRunnerRecords(db, kFile, {{101, 105}, {102, 105}}), DbError);
    EXPECT_THROW(RekeyRunnerRecords(db, kFile, {{101, 105}, {101, 106}}), DbError);
    EXPECT_EQ(all(), before);
    EXPECT_FALSE(db.InTransaction());
}

TEST_F(RunnerKeys, ReKeyingJoinsAnOuterTransaction) {
    put(101, runner("a", 1, 0));
    put(201, runner("b", 2, 0));
    auto before = all();
    {
        Transaction outer(db);
        SwapTeamRunners(db, kFile, 1, 2, 2);
        EXPECT_EQ(all()[101], before[201]);
        // The outer work fails: the swap goes with it.
    }
    EXPECT_EQ(all(), before);
}

TEST_F(RunnerKeys, RotationOfThreeKeys) {
    put(101, runner("a", 1, 0));
    put(102, runner("b", 2, 0));
    put(103, runner("c", 3, 0));
    auto before = all();
    RekeyRunnerRecords(db, kFile, {{101, 102}, {102, 103}, {103, 101}});
    auto after = all();
    EXPECT_EQ(after[102], before[101]);
    EXPECT_EQ(after[103], before[102]);
    EXPECT_EQ(after[101], before[103]);
}
