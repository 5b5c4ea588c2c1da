#include "database/RankingQueries.h"

#include "database/Ranking.h"
#include "database/ResultRaceFixture.h"

class RankingQueries : public ResultRace {
  protected:
    void Compute(int n) {
        ASSERT_EQ(BuildResultTable(n), 0);
        ASSERT_EQ(LoadPassingData(n), 0);
        form().HasNoRecordRunner = form().DetectNoRecordRunner(n);
        RankLegTimes(n);
        RankAdjustedLegs(n);
    }
    void Team(int team, const std::string& name, const std::string& lastTimeCode) {
        form().TeamEntryGrid.SetCells(1, team, name);
        form().TeamEntryGrid.SetCells(6, team, lastTimeCode);
    }
    // LastTime as a time code in the grid, thisTime in seconds.
    void Times(int team, const std::string& lastTimeCode, int thisTime) {
        Team(team, "", lastTimeCode);
        SaveTeamRows();
        SaveTeamThisTime(team, thisTime);
    }

    // Leg 2 of 5 teams in classes A, A, B, B, B: leg places 1, 2, 3, 3, 5 (leg times 500, 510, 520, 520,
    // 530).
    void LegPrizes(const std::vector<std::string>& classes) {
        OpenRace(2, 5);
        for (int t = 1; t <= 5; ++t)
            Class(t, classes[t - 1]);
        SaveTeamRows();
        Leg(1, {{1, 1000}, {2, 1001}, {3, 1002}, {4, 1003}, {5, 1004}});
        Leg(2, {{1, 1820}, {2, 1831}, {3, 1842}, {4, 1843}, {5, 1854}});
        Compute(2);
        ASSERT_EQ(Col(LegField::Kplace, 2), (std::vector<int>{1, 2, 3, 3, 5}));
    }
    struct Prize {
        int place;
        char letter = 0;
        int time = 0, kind = 0, mark = -9;
    };
    Prize LegTime(int team, int leg) {
        Prize p{0};
        p.place = QueryLegTimeRanking(team, leg, p.letter, p.time, p.kind, p.mark);
        return p;
    }
};

TEST_F(RankingQueries, ImprovementPlacesAreCompetitionRanked) {
    OpenRace(1, 7);
    // Gaps -50, -40 (no this time), -40, -40, -30, -30 and a team without a last time.
    const std::vector<std::pair<std::string, int>> times = {
        {"1000", 550}, {"40", 0}, {"1000", 560}, {"1000", 560}, {"1000", 570}, {"1000", 570}, {"", 400}};
    for (int t = 1; t <= 7; ++t)
        Times(t, times[t - 1].first, times[t - 1].second);
    std::vector<TeamWorkRec> recs(7);
    recs[1].AliasNo = 77;
    EXPECT_FALSE(QueryGapRanking(recs)); // no work table yet
    std::vector<int> places, gaps, numbers;
    for (const TeamWorkRec& r : recs) {
        places.push_back(r.GapPlace);
        gaps.push_back(r.GapTime);
        numbers.push_back(r.TeamNo);
    }
    // A team without both times does not move the previous gap: team 3 is second, not first.
    EXPECT_EQ(places, (std::vector<int>{1, 0, 2, 2, 4, 4, 0}));
    EXPECT_EQ(gaps, (std::vector<int>{-50, 0, -40, -40, -30, -30, 0}));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(recs[1].AliasNo, 77); // left to the caller
}

TEST_F(RankingQueries, SurplusTeamRowsAreReported) {
    OpenRace(1, 12);
    SaveTeamRows();
    form().TeamNum = 10;
    std::vector<TeamWorkRec> recs(10);
    recs[0].GapPlace = 5;
    dialogs.AnswerDlg(mrYes); // pack the entries
    EXPECT_FALSE(QueryGapRanking(recs));
    EXPECT_EQ(dialogs.Joined(), "チーム情報テーブルに不要のデータがあります。|エントリー情報を整理しますか?|"
                                "エントリー情報を整理しましました。");
    EXPECT_EQ(recs[0].GapPlace, 0);
    dialogs.ClearLog();
    QueryGapRanking(recs);
    EXPECT_FALSE(dialogs.Saw("チーム情報テーブルに不要のデータがあります。")) << "the surplus rows are gone";
}

TEST_F(RankingQueries, ClassPlacesAreCountedPerClassWithoutOpTeams) {
    OpenRace(1, 5);
    const std::string classes = "ABABA";
    for (int t = 1; t <= 5; ++t)
        Class(t, classes.substr(t - 1, 1));
    Op(3, 1);
    SaveTeamRows();
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}, {4, 1030}, {5, 1040}});
    Compute(1);
    form().taikaiBestGrid.SetCells(3, 1, "1000");
    std::vector<TeamWorkRec> recs(5);
    EXPECT_TRUE(QueryGapRanking(recs));
    std::vector<int> classPlaces, totalPlaces, marks;
    std::string letters;
    for (const TeamWorkRec& r : recs) {
        classPlaces.push_back(r.ClassPlace);
        totalPlaces.push_back(r.TotalPlace);
        marks.push_back(r.RecordMark);
        letters += r.ClassLetter;
    }
    EXPECT_EQ(classPlaces, (std::vector<int>{1, 1, 0, 2, 2}));
    EXPECT_EQ(totalPlaces, (std::vector<int>{1, 2, 999, 3, 4}));
    EXPECT_EQ(letters, "ABABA");
    EXPECT_EQ(marks, (std::vector<int>{2, 0, 0, 0, 0}));
    EXPECT_EQ(recs[4].TotalTime, 640);
}

// A waiting time puts team 3 ahead of team 1 on time though it passed later; its
// leg-2 runner is an OP runner (REMARK 1), who still counts for the total place. The
// OP team 2 takes no class place.
TEST_F(RankingQueries, TotalOrderAndClassPlacesFollowTimeNotPassing) {
    OpenRace(2, 4);
    const std::string classes = "AAAB";
    for (int t = 1; t <= 4; ++t)
        Class(t, classes.substr(t - 1, 1));
    Op(2, 1);
    SaveTeamRows();
    Remark(3, 2, 1);
    Waiting(2, 3, 30);
    Leg(1, {{1, 1000}, {2, 1010}, {3, 1020}, {4, 1030}});
    Leg(2, {{1, 2000}, {3, 2010}, {2, 2020}, {4, 2030}});
    Compute(2);
    EXPECT_EQ(Col(LegField::Tplace, 2), (std::vector<int>{2, 999, 1, 3}));
    std::vector<TeamWorkRec> recs(4);
    ASSERT_TRUE(QueryGapRanking(recs));
    std::vector<int> classPlaces;
    for (const TeamWorkRec& r : recs)
        classPlaces.push_back(r.ClassPlace);
    EXPECT_EQ(classPlaces, (std::vector<int>{2, 0, 1, 1}));
}

TEST_F(RankingQueries, LegWinnerOfAClassTakesTheLegPrize) {
    LegPrizes({"A", "A", "B", "B", "B"});
    form().KukanInfGrid.SetCells(3, 2, "820");
    Prize p = LegTime(1, 2);
    EXPECT_EQ(p.place, 1);
    EXPECT_EQ(p.kind, 1);
    EXPECT_EQ(p.letter, 'A');
    EXPECT_EQ(p.time, 500);
    EXPECT_EQ(p.mark, 2);
    EXPECT_EQ(QueryClassLegRanking(1, 2), 0);
    EXPECT_EQ(LegTime(2, 2).place, 0);
    EXPECT_EQ(QueryClassLegRanking(2, 2), 0);
}

TEST_F(RankingQueries, TiedClassBestShareTheClassPrize) {
    LegPrizes({"A", "A", "B", "B", "B"});
    for (int team : {3, 4}) {
        Prize p = LegTime(team, 2);
        EXPECT_EQ(p.place, 3);
        EXPECT_EQ(p.kind, 2);
        EXPECT_EQ(p.letter, 'B');
        EXPECT_EQ(p.time, 520);
        EXPECT_EQ(p.mark, -1);
        EXPECT_EQ(QueryClassLegRanking(team, 2), 520);
    }
    EXPECT_EQ(LegTime(5, 2).place, 0);
    EXPECT_EQ(QueryClassLegRanking(5, 2), 0);
}

TEST_F(RankingQueries, WithoutClassesOnlyTheLegWinnersCount) {
    LegPrizes({"", "", "", "", ""});
    Prize p = LegTime(1, 2);
    EXPECT_EQ(p.place, 1);
    EXPECT_EQ(p.letter, '*');
    EXPECT_EQ(LegTime(3, 2).place, 0);
    EXPECT_EQ(QueryClassLegRanking(1, 2), 0);
}

TEST_F(RankingQueries, ClassLetterIsBoundNotPasted) {
    LegPrizes({"'", "'", "'", "'", "'"});
    Prize p = LegTime(1, 2);
    EXPECT_EQ(p.place, 1);
    EXPECT_EQ(p.letter, '*');
    EXPECT_EQ(QueryClassLegRanking(3, 2), 0); // one class: team 1's place 1 is its best
}

TEST_F(RankingQueries, MissingOrShorterWorkTableGivesNoRows) {
    LegPrizes({"A", "A", "B", "B", "B"});
    EXPECT_EQ(LegTime(1, 3).place, 0);
    EXPECT_EQ(QueryClassLegRanking(3, 3), 0);
    DeleteTempTable();
    EXPECT_EQ(LegTime(1, 2).place, 0);
    EXPECT_EQ(QueryClassLegRanking(3, 2), 0);
    std::vector<TeamWorkRec> recs(5);
    EXPECT_FALSE(QueryGapRanking(recs));
    std::string text;
    BuildResultLines(text);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(RankingQueries, ResultLinesInPlaceOrder) {
    OpenRace(1, 3);
    Team(1, "東京", "1020");
    Team(2, "大阪%s", "");
    Op(3, 1);
    SaveTeamRows();
    SaveTeamThisTime(1, 610);
    SaveTeamThisTime(2, 600);
    Leg(1, {{2, 1000}, {1, 1010}, {3, 1020}});
    Compute(1);
    std::string text = "head\n";
    BuildResultLines(text);
    EXPECT_EQ(text, "head\n"
                    "0,1,*,0,大阪%s,***,***,1000,0,0,0,1,0\n"
                    "0,2,*,0,東京,***,***,1010,0,1,-10,2,0\n");
}

// Teams 1 and 3 pass together: the order of the keys, then the team number, as the
// table's "ORDER BY ..., TeamID" gives it; a leg the table lacks gives no rows.
TEST_F(RankingQueries, WorkTableRowsInKeyThenTeamOrder) {
    OpenRace(2, 4);
    Leg(1, {{3, 1000}, {1, 1000}, {4, 1010}, {2, 1020}});
    Compute(1);
    const auto img = OutputWorkTable();
    const auto teams = [&](const std::function<bool(int)>& keep, std::initializer_list<LegKey> order) {
        std::vector<int> out;
        for (int row : OrderedRows(*img, keep, order))
            out.push_back(img->TeamID(row));
        return out;
    };
    const auto all = [](int) { return true; };
    EXPECT_EQ(teams(all, {{LegField::Ttime, 1}}), (std::vector<int>{1, 3, 4, 2}));
    EXPECT_EQ(teams(all, {{LegField::Iplace, 1}}), (std::vector<int>{3, 1, 4, 2}));
    EXPECT_EQ(teams([&](int row) { return img->TeamID(row) != 4; }, {{LegField::Tplace, 1}, {LegField::Iplace, 1}}),
              (std::vector<int>{3, 1, 2}));
    EXPECT_EQ(teams(all, {}), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(teams(all, {{LegField::Ttime, 2}}).empty());
}

// An output reads the work table once; after a computation drops what it kept, the
// new table is read.
TEST_F(RankingQueries, OutputKeepsTheWorkTableUntilDropped) {
    LegPrizes({"", "", "", "", ""});
    OutputReads reads;
    EXPECT_EQ(WorkTablePassingPlace(5, 2), 5);
    EXPECT_EQ(LegTime(1, 2).place, 1);
    // Team 5 made the fastest leg 2 and passed first.
    DataMdl->Db()->Exec("UPDATE temptable.db SET Tplace_2=1, Kplace_2=1, Ktime_2=400 WHERE TeamID=5");
    DataMdl->Db()->Exec("UPDATE temptable.db SET Kplace_2=2 WHERE TeamID=1");
    EXPECT_EQ(OutputWorkTable(), OutputWorkTable());
    EXPECT_EQ(WorkTablePassingPlace(5, 2), 5);
    EXPECT_EQ(LegTime(1, 2).place, 1);
    DropOutputReads();
    EXPECT_EQ(WorkTablePassingPlace(5, 2), 1);
    EXPECT_EQ(LegTime(5, 2).place, 1);
    EXPECT_EQ(LegTime(1, 2).place, 0);
}

TEST(RunnerRecordSet, FindsByKeyAndTakesTheLargestRemarkOfARange) {
    RunnerRecordSet set;
    set.Add(101, {"一", "", "", "", 0, 1});
    set.Add(102, {"二", "", "", "", 0, 0});
    set.Add(105, {"五", "", "", "", 0, 3});
    set.Add(105, {"五b", "", "", "", 0, 2}); // read again: the later record holds
    set.Add(201, {"次", "", "", "", 0, 4});
    EXPECT_EQ(set.Find(102)->Sei, "二");
    EXPECT_EQ(set.Find(105)->Sei, "五b");
    EXPECT_EQ(set.Find(103), nullptr);
    EXPECT_EQ(set.Find(300), nullptr);
    EXPECT_EQ(set.MaxRemark(101, 199), 2);
    EXPECT_EQ(set.MaxRemark(101, 102), 1);
    EXPECT_EQ(set.MaxRemark(106, 200), 0);
    EXPECT_EQ(set.MaxRemark(0, 999), 4);
}
