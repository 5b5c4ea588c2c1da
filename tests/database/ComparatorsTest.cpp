#include "database/Comparators.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<int32_t> numbers(const std::vector<PassingRec>& recs) {
    std::vector<int32_t> out;
    for (const PassingRec& r : recs) out.push_back(r.number);
    return out;
}

std::vector<int32_t> teams(const std::vector<TeamWorkRec>& recs) {
    std::vector<int32_t> out;
    for (const TeamWorkRec& r : recs) out.push_back(r.TeamNo);
    return out;
}

} // namespace

TEST(CompareInputCells, EmptyTimesSortLastAndEqualTimesByLegThenOrder) {
    std::vector<PassingRec> recs{
        {2, 1, 11, 0},     // no time yet
        {2, 2, 12, 10500}, // same time as number 13, later leg
        {1, 3, 13, 10500},
        {1, 1, 14, 10400},
        {1, 2, 15, 10500}, // same time and leg as 13, earlier order
        {0, 0, 16, 0},     // nothing at all
        {3, 4, 17, 10300}, // the latest leg, the earliest time: time comes before leg
    };
    SortPassingRecs(recs);
    EXPECT_EQ(numbers(recs), (std::vector<int32_t>{17, 14, 15, 13, 12, 11, 16}));
}

TEST(CompareInputCells, EmptyLegOrderAndNumberSortLastAndNothingOverflows) {
    EXPECT_LT(CompareInputCells({3, 1, 5, 100}, {0, 1, 5, 100}), 0);
    EXPECT_LT(CompareInputCells({1, 9, 5, 100}, {1, 0, 5, 100}), 0);
    EXPECT_LT(CompareInputCells({1, 1, 4, 100}, {1, 1, 0, 100}), 0);
    EXPECT_EQ(CompareInputCells({1, 1, 4, 100}, {1, 1, 4, 100}), 0);
    EXPECT_LT(CompareInputCells({1, 1, 1, -2000000000}, {1, 1, 1, 2000000000}), 0);
}

TEST(TeamCompareByMode, KeyByModeThenTeamNumber) {
    auto rec = [](int team, int alias, int gapPlace, int total, int cls) {
        TeamWorkRec r;
        r.TeamNo = team;
        r.AliasNo = alias;
        r.GapPlace = gapPlace;
        r.TotalPlace = total;
        r.ClassPlace = cls;
        return r;
    };
    const std::vector<TeamWorkRec> base{rec(3, 103, 2, 1, 2), rec(1, 201, 1, 3, 1), rec(2, 150, 2, 2, 1),
                                        rec(4, 100, 0, 3, 3)};
    auto sorted = [&](int mode) {
        std::vector<TeamWorkRec> v = base;
        SortTeamWorkRecs(v, mode);
        return teams(v);
    };
    EXPECT_EQ(sorted(0), (std::vector<int32_t>{3, 2, 1, 4}));
    EXPECT_EQ(sorted(1), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(sorted(2), (std::vector<int32_t>{4, 1, 2, 3}));
    EXPECT_EQ(sorted(3), (std::vector<int32_t>{4, 3, 2, 1}));
    EXPECT_EQ(sorted(7), sorted(0));
    EXPECT_EQ(sorted(-1), sorted(0));
    // The input order never decides a tie.
    std::vector<TeamWorkRec> reversed(base.rbegin(), base.rend());
    SortTeamWorkRecs(reversed, 1);
    EXPECT_EQ(teams(reversed), sorted(1));
}

namespace {

// CUPS as the printer commands see it.
class FakeCups : public Shell {
public:
    std::vector<std::string> Names{"Office", "Label_Printer", "PDF"};
    std::string DefaultName = "Office";
    bool SwitchWorks = true;
    int Switches = 0;

    bool OpenDocument(const std::string&) override { return true; }
    std::string FindExecutable(const std::string&) override { return {}; }
    int RunAndWait(const std::string&, const std::vector<std::string>&) override { return 0; }
    CommandResult Run(const std::vector<std::string>& argv) override {
        if (argv == std::vector<std::string>{"lpstat", "-e"}) {
            std::string out;
            for (const std::string& n : Names) out += n + "\n";
            return {0, out};
        }
        if (argv == std::vector<std::string>{"lpstat", "-d"}) return {0, "system default destination: " + DefaultName + "\n"};
        if (argv.size() == 3 && argv[0] == "lpoptions" && argv[1] == "-d") {
            ++Switches;
            if (!SwitchWorks) return {1, "lpoptions: Unable to set\n"};
            DefaultName = argv[2];
            return {0, ""};
        }
        return {-1, ""};
    }
};

class DefaultPrinter : public ::testing::Test {
protected:
    FakeCups cups;
    Printers printers{cups};
    Services saved;
    void SetUp() override {
        saved = CurrentServices();
        CurrentServices().printers = &printers;
    }
    void TearDown() override { CurrentServices() = saved; }
};

} // namespace

TEST_F(DefaultPrinter, SwitchOnlyToAnotherKnownPrinter) {
    EXPECT_EQ(PrinterIndexOf("PDF"), 2);
    EXPECT_EQ(PrinterIndexOf(""), -1);
    EXPECT_FALSE(SetDefaultPrinter("Office"));
    EXPECT_FALSE(SetDefaultPrinter("Nowhere"));
    EXPECT_EQ(cups.Switches, 0);
    EXPECT_TRUE(SetDefaultPrinter("PDF"));
    EXPECT_EQ(cups.Switches, 1);
    EXPECT_EQ(CurrentPrinterName(), "PDF");
}

TEST_F(DefaultPrinter, FailedSwitchIsReportedAsFailure) {
    cups.SwitchWorks = false;
    EXPECT_FALSE(SetDefaultPrinter("PDF"));
    EXPECT_EQ(cups.Switches, 1);
    EXPECT_EQ(CurrentPrinterName(), "Office");
}
