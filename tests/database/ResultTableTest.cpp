#include "database/ResultTable.h"

#include "database/ResultRaceFixture.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"

#include <fstream>

using V = std::vector<int>;
using F = LegField;

class ResultTable : public ResultRace {
  protected:
    // 4 teams, 2 legs: the worked example of the passing order.
    void WorkedExample() {
        OpenRace(2, 4);
        Op(3, 1);
        Leg(1, {{2, 2500}, {1, 2510}, {3, 2510}, {4, 2600}});
        Leg(2, {{1, 5000}, {2, 5000}, {4, 5050}, {3, 5100}});
    }
    std::vector<std::string> Messages() { return dialogs.Texts(); }
};

TEST_F(ResultTable, WritesTotalsOrdersAndLegTimes) {
    WorkedExample();
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(DataMdl->Db()->Fields(kResultTable).size(), 13u);
    EXPECT_TRUE(DataMdl->tmpTable.Active());
    EXPECT_EQ(Col(F::Ttime, 1), (V{1510, 1500, 1510, 1560}));
    EXPECT_EQ(Col(F::Ttime, 2), (V{3000, 3000, 3060, 3050}));
    EXPECT_EQ(Col(F::Ktime, 2), (V{1490, 1500, 1550, 1490}));
    EXPECT_EQ(Col(F::Iplace, 1), (V{2, 1, 3, 4}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 2, 4, 3}));
    EXPECT_EQ(Col(F::Kplace, 1), (V{999, 999, 999, 999}));
    EXPECT_TRUE(form().ResultFinal);
}

TEST_F(ResultTable, AbsentAndFilteredTeamsStartOutOfTheRanking) {
    OpenRace(1, 3);
    Op(2, 2);
    Class(1, "a");
    Class(3, "B");
    form().SetClassFilter("A");
    Leg(1, {{1, 1000}, {2, 1001}, {3, 1002}});
    ASSERT_EQ(BuildResultTable(1), 0);
    EXPECT_EQ(Col(F::Kplace, 1), (V{999, 1000, 1000}));
    // Passing orders are written over the initial place; the passes rank them later.
    EXPECT_EQ(Col(F::Tplace, 1), (V{1, 2, 3}));
}

TEST_F(ResultTable, TeamNotYetAtTheRelayPointKeepsItsInitialValues) {
    OpenRace(2, 4);
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}, {4, 1030}});
    Leg(2, {{2, 2000}, {1, 2010}, {3, 1020}});
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"途中情報"});
    EXPECT_FALSE(form().ResultFinal);
    EXPECT_EQ(At(F::Ttime, 2, 4), 0);
    EXPECT_EQ(At(F::Tplace, 2, 4), 999);
    EXPECT_EQ(At(F::Iplace, 2, 4), 999);
    EXPECT_EQ(At(F::Ktime, 2, 4), -630); // no leg time: never ranked
    // Once the results are not final, a zero leg time is not refused.
    EXPECT_EQ(At(F::Ktime, 2, 3), 0);
}

TEST_F(ResultTable, OnlyTheFirstIncompleteLegAnnouncesIt) {
    OpenRace(3, 4);
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}, {4, 1030}});
    Leg(2, {{1, 2000}, {2, 2010}});
    Leg(3, {{1, 3000}});
    EXPECT_EQ(BuildResultTable(3), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"途中情報"});
}

TEST_F(ResultTable, ExistingTableWithAsManyLegsAsksFirst) {
    WorkedExample();
    ASSERT_EQ(BuildResultTable(2), 0);
    form().InputGrid.SetCells(2, 2, "2400");
    dialogs.AnswerDlg(mrNo);
    EXPECT_EQ(BuildResultTable(2), 2);
    EXPECT_EQ(Messages().back(), "処理はすでに実行されています\n再計算しますか ?");
    EXPECT_FALSE(DataMdl->tmpTable.Active());
    EXPECT_EQ(At(F::Ttime, 1, 2), 1500);

    dialogs.AnswerDlg(mrYes);
    EXPECT_EQ(BuildResultTable(2), 0);
    EXPECT_EQ(At(F::Ttime, 1, 2), 1440);
}

TEST_F(ResultTable, ExistingTableWithFewerLegsIsReplacedWithoutAsking) {
    WorkedExample();
    ASSERT_EQ(BuildResultTable(1), 0);
    EXPECT_EQ(DataMdl->Db()->Fields(kResultTable).size(), 7u);
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(DataMdl->Db()->Fields(kResultTable).size(), 13u);
}

TEST_F(ResultTable, InputErrorsAreReportedWithLegAndRow) {
    struct Case {
        std::string number, time, message;
    };
    const std::vector<Case> cases = {
        {"", "", "空データです。"},
        {"0", "1000", "そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n1 区 0番"},
        {"-3", "1000", "そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n1 区 -3番"},
        {"x", "1000", "そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n1 区 0番"},
        {"150", "1000", "ｴﾘｱｽ番号が正しくありません。処理できませんでした。1 区 1行"},
        {"2", "", "通過ﾀｲﾑが空のﾁｰﾑが検出されました。\n1 行目"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.ClearLog();
        OpenRace(1, 3);
        Leg(1, {{1, 0}, {2, 1010}, {3, 1020}});
        Cell(1, 1, c.number, c.time);
        DeleteTempTable();
        EXPECT_EQ(BuildResultTable(1), 1);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    }
}

TEST_F(ResultTable, DuplicateNumberNamesTheSecondRow) {
    OpenRace(1, 3);
    Leg(1, {{1, 1000}, {2, 1010}, {1, 1020}});
    EXPECT_EQ(BuildResultTable(1), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"ﾅﾝﾊﾞｰｶｰﾄﾞが重複しているか\n間違っています。\n1 区 3行"});
}

TEST_F(ResultTable, AnErrorStopsItsLegButLaterLegsAreStillChecked) {
    OpenRace(2, 3);
    Leg(1, {{1, 1000}, {1, 1010}, {3, 1020}});
    Leg(2, {{1, 2000}, {2, 2010}, {-9, 2020}});
    EXPECT_EQ(BuildResultTable(2), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ﾅﾝﾊﾞｰｶｰﾄﾞが重複しているか\n間違っています。\n1 区 2行",
                                                    "そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n2 区 -9番"}));
    // The rows read before the error are written; no leg times after an error.
    EXPECT_EQ(Col(F::Ttime, 1), (V{600, 0, 0}));
    EXPECT_EQ(Col(F::Ttime, 2), (V{1200, 1210, 0}));
    EXPECT_EQ(Col(F::Ktime, 2), (V{0, 0, 0}));
}

TEST_F(ResultTable, AliasesFindTheirTeam) {
    OpenRace(1, 3);
    Alias(2, 120);
    Leg(1, {{120, 1000}, {1, 1010}, {3, 1020}});
    ASSERT_EQ(BuildResultTable(1), 0);
    EXPECT_EQ(Col(F::Iplace, 1), (V{2, 1, 3}));
}

TEST_F(ResultTable, NegativeAndZeroLegTimesAreRefused) {
    OpenRace(3, 2);
    Leg(1, {{1, 1000}, {2, 1010}});
    Leg(2, {{2, 1000}, {1, 1000}});
    Leg(3, {{1, 2000}, {2, 2010}});
    EXPECT_EQ(BuildResultTable(3), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"0秒の区間記録が検出されました。\n2区 TeamID=1",
                                                    "ﾏｲﾅｽの区間記録が検出されました。\n2区 TeamID=2"}));
}

// A restart can bring a partial time to a total of exactly 0: a team that passed is
// refused then, as for a negative leg time.
TEST_F(ResultTable, PassedTeamWithATotalOfZeroIsRefused) {
    OpenRace(2, 2);
    Kuriage(1, "-10000");
    Leg(1, {{1, 5930}, {2, 5950}});
    Leg(2, {{1, 30}, {2, 12000}});
    EXPECT_EQ(BuildResultTable(2), 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ﾏｲﾅｽの区間記録が検出されました。\n2区 TeamID=1"}));
}

TEST_F(ResultTable, AdvancedStartAddsTheDelayToLaterLegsOnly) {
    OpenRace(3, 3);
    Kuriage(1, "10000");
    Leg(1, {{2, 5900}, {1, 10000}, {3, 10230}});
    Leg(2, {{2, 20000}, {1, 20010}, {3, 20020}});
    Leg(3, {{2, 30000}, {1, 30010}, {3, 30020}});
    ASSERT_EQ(BuildResultTable(3), 0);
    EXPECT_EQ(Col(F::Ttime, 1), (V{3600, 3540, 3750}));
    EXPECT_EQ(Col(F::Ttime, 2), (V{7210, 7200, 7220 + 150}));
    EXPECT_EQ(Col(F::Ttime, 3), (V{10810, 10800, 10820 + 150}));
    EXPECT_EQ(Col(F::AdjSw, 1), (V{0, 0, 1}));
    EXPECT_EQ(Col(F::AdjSw, 3), (V{0, 0, 1}));
    EXPECT_FALSE(OutputForm->RestartCorrected);
}

TEST_F(ResultTable, RestartCorrectsInBothDirections) {
    OpenRace(2, 2);
    Kuriage(1, "-10000");
    Leg(1, {{1, 5900}, {2, 10100}});
    Leg(2, {{1, 20000}, {2, 20100}});
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_EQ(Col(F::Ttime, 2), (V{7200 - 60, 7260 + 60}));
    EXPECT_EQ(Col(F::AdjSw, 2), (V{0, 1}));
    EXPECT_TRUE(OutputForm->RestartCorrected);
}

TEST_F(ResultTable, WaitingTimesAreSubtractedUpToTheLeg) {
    OpenRace(2, 2);
    Alias(2, 150);
    Waiting(1, 1, 30);
    Waiting(2, 1, 30);
    Waiting(1, 150, 100); // typed as the alias at leg 1 ...
    Waiting(11, 50, 200); // ... and not the key of leg 11, number 50
    Leg(1, {{1, 1000}, {150, 1010}});
    Leg(2, {{1, 2000}, {150, 2010}});
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_EQ(Col(F::Ttime, 1), (V{600 - 30, 610 - 60}));
    EXPECT_EQ(Col(F::Ttime, 2), (V{1200 - 60, 1210 - 60}));
    EXPECT_EQ(form().SumWaitingTime(2, 1), 60);
    EXPECT_EQ(form().SumWaitingTime(1, 150), 60);
    EXPECT_EQ(form().SumWaitingTime(11, 50), 120);
}

// A table the engine cannot read or write is named with the engine's reason.
TEST_F(ResultTable, AFaultInsideIsReportedAsADataError) {
    OpenRace(1, 2);
    Leg(1, {{1, 1000}, {2, 1010}});
    DataMdl->CloseAll();
    const std::filesystem::path waiting = form().DataFolder / DelayTableName(1);
    std::ofstream(waiting, std::ios::binary) << std::string(4096, 'x');
    EXPECT_EQ(BuildResultTable(1), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"データにエラーがあります。処理できませんでした。\n" +
                                                   waiting.string() + " のオープンに失敗しました。\n" +
                                                   "file is not a database"});

    // A full disk: the work table cannot be made.
    DeleteFileAt(waiting);
    dialogs.ClearLog();
    const std::string told = RunInChild([this] {
        LimitFileSize(0);
        const int result = BuildResultTable(1);
        return Format("%d|", result) + dialogs.Joined();
    });
    EXPECT_EQ(told, "1|データにエラーがあります。処理できませんでした。\n" +
                        (form().DataFolder / kResultTable).string() + " の作成に失敗しました。\ndisk I/O error");
}

class RecordsFromResults : public ResultTable {
  protected:
    void Records(const std::string& leg1, const std::string& leg2, const std::string& race) {
        form().KukanInfGrid.SetCells(3, 1, leg1);
        form().KukanInfGrid.SetCells(3, 2, leg2);
        form().taikaiBestGrid.SetCells(3, 1, race);
    }
    // Leg 1 won by team 2 in 1500 s, leg 2 won by team 1 in 1490 s; team 1 wins overall in 3000 s.
    void Ranked() {
        WorkedExample();
        ASSERT_EQ(BuildResultTable(2), 0);
        SetTempFieldAt(1, F::Kplace, 2, 1);
        SetTempFieldAt(2, F::Kplace, 1, 1);
        SetTempFieldAt(4, F::Kplace, 2, 1);
        SetTempFieldAt(1, F::Tplace, 2, 1);
        SetTempFieldAt(2, F::Tplace, 2, 2);
    }
    void SetTempFieldAt(int team, F f, int leg, int v) {
        DataMdl->Db()->Exec("UPDATE temptable.db SET " + LegFieldName(f, leg) + "=?1 WHERE TeamID=?2",
                            {v, team});
    }
};

TEST_F(RecordsFromResults, FasterWinnersAndMissingRecordsAreTaken) {
    Ranked();
    Records("", "2500", "");
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "2500");
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 2), "2450");
    EXPECT_EQ(form().taikaiBestGrid.Cells(3, 1), "5000");
}

TEST_F(RecordsFromResults, SlowerOrEqualWinnersLeaveTheRecords) {
    Ranked();
    Records("2500", "2430", "4959");
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "2500");
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 2), "2430");
    EXPECT_EQ(form().taikaiBestGrid.Cells(3, 1), "4959");
}

TEST_F(RecordsFromResults, AShorterTableGivesOnlyItsLegRecords) {
    WorkedExample();
    ASSERT_EQ(BuildResultTable(1), 0);
    SetTempFieldAt(2, F::Kplace, 1, 1);
    Records("", "", "");
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "2500");
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 2), "");
    EXPECT_EQ(form().taikaiBestGrid.Cells(3, 1), "");
}

TEST_F(RecordsFromResults, LegWithoutAWinnerSetsNoRecord) {
    WorkedExample();
    ASSERT_EQ(BuildResultTable(2), 0); // not ranked: no leg place 1 anywhere
    Records("", "", "");
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "");
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 2), "");
}

TEST_F(RecordsFromResults, NothingWithoutAWorkTable) {
    OpenRace(2, 2);
    Records("", "", "");
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "");
    EXPECT_EQ(form().taikaiBestGrid.Cells(3, 1), "");
}

TEST_F(ResultTable, DeleteTempTableRemovesTheFile) {
    WorkedExample();
    DeleteTempTable(); // none yet: nothing happens
    ASSERT_EQ(BuildResultTable(2), 0);
    ASSERT_TRUE(std::filesystem::exists(form().DataFolder / kResultTable));
    DeleteTempTable();
    EXPECT_FALSE(std::filesystem::exists(form().DataFolder / kResultTable));
    EXPECT_EQ(ResultTableLegs(), 0);
}

// The work table is derived data: junk in its file is cleared by the open and
// replaced by a computation, without a question.
TEST_F(ResultTable, AWorkTableOfJunkBytesIsRebuilt) {
    WorkedExample();
    const auto file = form().DataFolder / kResultTable;
    auto junk = [&] { std::ofstream(file, std::ios::binary) << std::string(4096, 'x'); };
    junk();
    EXPECT_EQ(ResultTableLegs(), 0);
    ASSERT_EQ(BuildResultTable(2), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Col(F::Ttime, 2), (V{3000, 3000, 3060, 3050}));
    DataMdl->CloseAll();
    DataMdl->SetFolder(form().DataFolder);
    junk();
    DeleteTempTable();
    EXPECT_FALSE(std::filesystem::exists(file));
}
