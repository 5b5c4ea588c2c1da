// The work table of the computation benchmark's race, held field for field to a copy
// kept from an earlier build: how the table is written may change, what it holds may not.
#include "database/RaceFile.h"
#include "database/Ranking.h"
#include "database/ResultTable.h"
#include "bench/BenchRace.h"
#include "support/ProgramFixture.h"

#include <fstream>
#include <sstream>

namespace {

const std::filesystem::path kKept = std::filesystem::path(TAVREN_TEST_DATA) / "bench_work_table.txt";

// A header line of the field names, then a line per row; NULL shows as "-".
std::string dumpWorkTable() {
    Query q = RaceDb().Prepare("SELECT * FROM temptable.db ORDER BY TeamID");
    std::ostringstream out;
    bool header = true;
    while (q.Step()) {
        if (header)
            for (int i = 0; i < q.ColumnCount(); ++i)
                out << (i ? "\t" : "") << q.ColumnName(i) << (i + 1 == q.ColumnCount() ? "\n" : "");
        header = false;
        for (int i = 0; i < q.ColumnCount(); ++i) {
            const Value v = q.Column(i);
            out << (i ? "\t" : "") << (v.IsNull() ? std::string("-") : std::to_string(v.AsInt64()));
        }
        out << "\n";
    }
    q.Reset();
    return out.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace

class WorkTableKept : public ProgramFixture {
  protected:
    void PrepareRace() {
        BenchRace::SetUpRace(form(), home.path() / "race");
        BenchRace::TypePassings(form(), BenchRace::Simulate(form()));
    }
    // The computation as the result window runs it.
    void Compute() {
        using BenchRace::kLegs;
        ASSERT_EQ(BuildResultTable(kLegs), 0);
        ASSERT_EQ(LoadPassingData(kLegs), 0);
        form().HasNoRecordRunner = form().DetectNoRecordRunner(kLegs);
        EXPECT_EQ(RankLegTimes(kLegs), 0);
        EXPECT_EQ(RankAdjustedLegs(kLegs), 0);
        EXPECT_EQ(CountRankedTeams(), BenchRace::kTeams - 4);
    }
    void ExpectKeptTable() {
        std::ifstream in(kKept);
        ASSERT_TRUE(in) << kKept;
        const auto kept = lines(std::string(std::istreambuf_iterator<char>(in), {}));
        const auto now = lines(dumpWorkTable());
        ASSERT_EQ(now.size(), kept.size());
        for (size_t r = 0; r < kept.size(); ++r)
            ASSERT_EQ(now[r], kept[r]) << "row " << r << " (0 is the field names)";
    }
};

TEST_F(WorkTableKept, FirstComputationAndRecomputationGiveTheKeptTable) {
    PrepareRace();
    Compute();
    ExpectKeptTable();
    dialogs.AnswerDlg(mrYes);
    Compute();
    ExpectKeptTable();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"処理はすでに実行されています\n再計算しますか ?"});
}

// The computation is held in memory until the table is used; closing the race writes it,
// deleting the table drops it.
TEST_F(WorkTableKept, AHeldComputationReachesTheTableOnlyWhileItIsWanted) {
    PrepareRace();
    Compute();
    DataMdl->CloseAll();
    DataMdl->SetFolder(form().DataFolder);
    ExpectKeptTable();

    dialogs.AnswerDlg(mrYes);
    ASSERT_EQ(BuildResultTable(2), 0);
    DeleteTempTable();
    DataMdl->CloseAll();
    EXPECT_FALSE(std::filesystem::exists(form().DataFolder / kResultTable));
}
