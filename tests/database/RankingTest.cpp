#include "database/Ranking.h"

#include "database/ResultRaceFixture.h"

#include <sqlite3.h>

using V = std::vector<int>;
using F = LegField;

class Ranking : public ResultRace {
  protected:
    // The computation as the result window runs it.
    int Compute(int n) {
        int r = BuildResultTable(n);
        if (r != 1) r = LoadPassingData(n);
        if (r != 0) return r;
        form().HasNoRecordRunner = form().DetectNoRecordRunner(n);
        legTimesResult = RankLegTimes(n);
        EXPECT_EQ(RankAdjustedLegs(n), 0);
        OutputForm->RankedTeamCount = CountRankedTeams();
        return 0;
    }
    int legTimesResult = -1;

    // X (team 1) and Y (team 2) with an advanced start at 0:30:00 at relay point 1;
    // Y passes at 0:31:40 and is corrected by 100 s.
    void AdvancedStartTie() {
        OpenRace(2, 3);
        Kuriage(1, "3000");
        Leg(1, {{1, 2950}, {2, 3140}, {3, 3200}});
    }
};

TEST_F(Ranking, WorkedExample) {
    OpenRace(2, 4);
    Op(3, 1);
    Leg(1, {{2, 2500}, {1, 2510}, {3, 2510}, {4, 2600}});
    Leg(2, {{1, 5000}, {2, 5000}, {4, 5050}, {3, 5100}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Ttime, 2), (V{3000, 3000, 3060, 3050}));
    // Equal leg-1 times take consecutive places in passing order; equal leg-2 times share.
    EXPECT_EQ(Col(F::Kplace, 1), (V{2, 1, 3, 4}));
    EXPECT_EQ(Col(F::Kplace, 2), (V{1, 3, 4, 1}));
    EXPECT_EQ(Col(F::Tplace, 1), (V{2, 1, 999, 3}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 2, 999, 3}));
    EXPECT_EQ(OutputForm->RankedTeamCount, 4);
    EXPECT_EQ(legTimesResult, 0);
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(Ranking, CorrectedTeamSharesThePlaceOfTheTeamBefore) {
    AdvancedStartTie();
    Leg(2, {{1, 5000}, {2, 4820}, {3, 5100}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Ttime, 2), (V{3000, 3000, 3180}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 1, 3}));
}

TEST_F(Ranking, UncorrectedTeamBehindACorrectedOneTakesItsPosition) {
    AdvancedStartTie();
    Leg(2, {{2, 4820}, {1, 5000}, {3, 5100}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Tplace, 2), (V{2, 1, 3}));
}

TEST_F(Ranking, CorrectionAtAnEarlierRelayPointAlsoShares) {
    OpenRace(3, 2);
    Kuriage(2, "10000");
    Leg(1, {{1, 3000}, {2, 3010}});
    Leg(2, {{1, 10000}, {2, 10100}});
    Leg(3, {{1, 13000}, {2, 12900}});
    ASSERT_EQ(Compute(3), 0);
    EXPECT_EQ(Col(F::AdjSw, 2), (V{0, 1}));
    EXPECT_EQ(Col(F::Ttime, 3), (V{5400, 5400}));
    EXPECT_EQ(Col(F::Tplace, 3), (V{1, 1}));
}

TEST_F(Ranking, WaitingTimesMoveATeamUp) {
    OpenRace(2, 2);
    Waiting(2, 2, 100);
    Leg(1, {{1, 1000}, {2, 1010}});
    Leg(2, {{1, 2000}, {2, 2030}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Ttime, 2), (V{1200, 1170}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{2, 1}));
    EXPECT_EQ(Col(F::Kplace, 2), (V{2, 1}));
}

TEST_F(Ranking, NoRecordRunnerTakesTheTeamOutFromItsLeg) {
    OpenRace(3, 3);
    Remark(2, 2, 2);
    Leg(1, {{2, 1000}, {1, 1010}, {3, 1020}});
    Leg(2, {{2, 2000}, {1, 2010}, {3, 2030}});
    Leg(3, {{2, 3000}, {1, 3010}, {3, 3020}});
    ASSERT_EQ(Compute(3), 0);
    EXPECT_EQ(Col(F::Tplace, 1), (V{2, 1, 3}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 999, 2}));
    EXPECT_EQ(Col(F::Tplace, 3), (V{1, 999, 2}));
    EXPECT_EQ(Col(F::Kplace, 2), (V{1, 999, 2}));
    EXPECT_EQ(Col(F::Kplace, 3), (V{2, 2, 1})); // leg 3's runner of team 2 runs normally
    EXPECT_EQ(OutputForm->RankedTeamCount, 3);
}

TEST_F(Ranking, AbsentTeamIsNeitherPlacedNorCounted) {
    OpenRace(2, 3);
    Op(2, 2);
    Remark(2, 1, 2); // a no-record runner does not bring an absent team back in
    Leg(1, {{2, 900}, {1, 1010}, {3, 1020}});
    Leg(2, {{2, 1900}, {1, 2010}, {3, 2020}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Tplace, 1), (V{1, 1000, 2}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 1000, 2}));
    EXPECT_EQ(Col(F::Kplace, 1), (V{1, 1000, 2}));
    EXPECT_EQ(OutputForm->RankedTeamCount, 2);
}

TEST_F(Ranking, ClassFilterLeavesOtherClassesOut) {
    OpenRace(2, 3);
    Class(1, "A");
    Class(2, "B");
    Class(3, "b");
    form().SetClassFilter("B");
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}});
    Leg(2, {{1, 2000}, {2, 2010}, {3, 2020}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Tplace, 2), (V{1000, 1, 2}));
    EXPECT_EQ(Col(F::Kplace, 1), (V{1000, 1, 2}));
    EXPECT_EQ(Col(F::Kplace, 2), (V{1000, 1, 1}));
    EXPECT_EQ(OutputForm->RankedTeamCount, 2);
}

// OP and absent teams, a no-record runner, ties on leg 1 and on later legs, a team that stopped.
TEST_F(Ranking, LegPlacesOfAllTeamsAsWithoutTheFilter) {
    OpenRace(3, 5);
    for (auto [team, cls] : {std::pair{1, "A"}, {2, "B"}, {3, "A"}, {4, "B"}, {5, "A"}})
        Class(team, cls);
    Op(3, 1);
    Op(5, 2);
    Remark(1, 2, 2);
    Leg(1, {{3, 1000}, {1, 1000}, {2, 1010}, {4, 1020}});
    Leg(2, {{3, 2000}, {1, 2010}, {2, 2010}, {4, 2020}});
    Leg(3, {{1, 3000}, {2, 3010}, {3, 3030}});
    auto kplaces = [](const ResultImage& img) { // leg by leg, team by team
        V places;
        for (int k = 1; k <= img.Legs(); ++k)
            for (int r = 0; r < img.Count(); ++r)
                places.push_back(img.Get(r, F::Kplace, k));
        return places;
    };
    ASSERT_EQ(Compute(3), 0);
    const V unfiltered = kplaces(ResultImage::Load(RaceDb()));
    for (const char* filter : {"B", "A"}) {
        form().SetClassFilter(filter);
        dialogs.AnswerDlg(mrYes); // compute again
        ASSERT_EQ(Compute(3), 0);
        const ResultImage filtered = ResultImage::Load(RaceDb());
        EXPECT_NE(kplaces(filtered), unfiltered) << filter;
        EXPECT_EQ(kplaces(LegPlacesOfAllTeams(filtered)), unfiltered) << filter;
    }
}

TEST_F(Ranking, LegWithoutRankableRunnersDoesNotStopLaterLegs) {
    OpenRace(3, 2);
    Remark(1, 2, 1);
    Remark(2, 2, 1);
    Leg(1, {{1, 1000}, {2, 1010}});
    Leg(2, {{1, 2000}, {2, 2010}});
    Leg(3, {{2, 3000}, {1, 3010}});
    ASSERT_EQ(Compute(3), 0);
    EXPECT_EQ(legTimesResult, 1);
    EXPECT_EQ(Col(F::Kplace, 2), (V{999, 999}));
    EXPECT_EQ(Col(F::Kplace, 3), (V{2, 1}));
    // OP runners keep their teams in the overall ranking.
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 2}));
    EXPECT_EQ(Col(F::Tplace, 3), (V{2, 1}));
}

TEST_F(Ranking, SetTempFieldWritesOrReportsAMissingTeam) {
    OpenRace(1, 2);
    Leg(1, {{1, 1000}, {2, 1010}});
    ASSERT_EQ(BuildResultTable(1), 0);
    SetTempField(2, "Kplace_1", 7);
    EXPECT_EQ(At(F::Kplace, 1, 2), 7);
    SetTempField(9, "Kplace_1", 7);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"そのゼッケンはありません。:9"});
}

TEST_F(Ranking, CountWithoutAWorkTableIsZero) {
    OpenRace(1, 2);
    EXPECT_EQ(CountRankedTeams(), 0);
}

TEST_F(Ranking, LoadPassingDataChecksWithoutTheIncompleteNotice) {
    OpenRace(2, 3);
    Kuriage(1, "-3000");
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}});
    Leg(2, {{1, 2000}, {2, 2010}});
    form().ResultFinal = true;
    EXPECT_EQ(LoadPassingData(2), 0);
    EXPECT_FALSE(form().ResultFinal);
    EXPECT_TRUE(OutputForm->RestartCorrected);
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_FALSE(DataMdl->Db()->TableExists(kResultTable));

    Cell(1, 2, "1", "1010");
    Cell(2, 1, "", "");
    EXPECT_EQ(LoadPassingData(2), 1);
    EXPECT_EQ(dialogs.Texts(),
              (std::vector<std::string>{"ﾅﾝﾊﾞｰｶｰﾄﾞが重複しているか\n間違っています。\n1 区 2行",
                                        "空データです。"}));
}

TEST_F(Ranking, KeptTableIsRankedAfterTheInputCheck) {
    OpenRace(1, 2);
    Leg(1, {{2, 1000}, {1, 1010}});
    ASSERT_EQ(BuildResultTable(1), 0);
    dialogs.AnswerDlg(mrNo);
    ASSERT_EQ(Compute(1), 0);
    EXPECT_EQ(Col(F::Kplace, 1), (V{2, 1}));
    EXPECT_EQ(OutputForm->RankedTeamCount, 2);
}

// Teams whose runners were never entered have no runner records; they are ranked all
// the same, so the worked example's places do not depend on the runner page.
TEST_F(Ranking, TeamsWithoutRunnerRecordsAreRanked) {
    OpenRace(2, 4);
    for (int team = 1; team <= 4; ++team) DeleteTeamRunners(team);
    Op(3, 1);
    Leg(1, {{2, 2500}, {1, 2510}, {3, 2510}, {4, 2600}});
    Leg(2, {{1, 5000}, {2, 5000}, {4, 5050}, {3, 5100}});
    ASSERT_EQ(Compute(2), 0);
    EXPECT_EQ(Col(F::Kplace, 2), (V{1, 3, 4, 1}));
    EXPECT_EQ(Col(F::Tplace, 2), (V{1, 2, 999, 3}));
}

// A no-record runner makes the passes look at every team's runners of legs 1..k; they are
// read once per pass, not queried per team and leg (200 teams x 50 legs made that 70 ms).
TEST_F(Ranking, NoRecordRunnerCostsNoStatementPerTeamAndLeg) {
    OpenRace(5, 10);
    for (int k = 1; k <= 5; ++k) {
        std::vector<std::pair<int, int>> passings;
        for (int team = 1; team <= 10; ++team)
            passings.push_back({team, 1000 * k + 10 * team});
        Leg(k, passings);
    }
    Remark(4, 3, 2);
    ASSERT_EQ(BuildResultTable(5), 0);
    form().HasNoRecordRunner = form().DetectNoRecordRunner(5);
    ASSERT_TRUE(form().HasNoRecordRunner);
    int statements = 0;
    sqlite3* db = RaceDb().Handle();
    sqlite3_trace_v2(
        db, SQLITE_TRACE_STMT,
        [](unsigned, void* n, void*, void*) {
            ++*static_cast<int*>(n);
            return 0;
        },
        &statements);
    EXPECT_EQ(RankLegTimes(5), 0);
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    EXPECT_LT(statements, 20);
    // Team 4 loses its place from leg 3 on, and only from there.
    EXPECT_EQ(Col(F::Tplace, 2)[3], 4);
    EXPECT_EQ(Col(F::Tplace, 3)[3], 999);
    EXPECT_EQ(Col(F::Tplace, 5)[3], 999);
    EXPECT_EQ(Col(F::Tplace, 3)[4], 4);
}

// The race record is the overall winner's total, not the last leg winner's.
TEST_F(Ranking, RecordsComeFromTheLegWinnersAndTheOverallWinner) {
    OpenRace(2, 3);
    Leg(1, {{1, 1000}, {2, 1100}, {3, 1200}});
    Leg(2, {{1, 2000}, {2, 2040}, {3, 2200}}); // team 2 runs leg 2 fastest (9:40)
    ASSERT_EQ(Compute(2), 0);
    UpdateRecordsFromResults();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 1), "1000");
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 2), "940");
    EXPECT_EQ(form().taikaiBestGrid.Cells(3, 1), "2000");
}
