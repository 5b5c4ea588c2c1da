#include "database/TeamNumbers.h"
#include "support/ProgramFixture.h"

class TeamNumbers : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        form().SankaSpinNum.SetValue(20);
        alias(5, "25");
        alias(9, "120");
        alias(12, " ");
    }
    void alias(int team, const std::string& text) { form().TeamEntryGrid.SetCells(3, team, text); }
};

TEST_F(TeamNumbers, AliasToTeam) {
    EXPECT_EQ(ConvertTeamNumber(20, false), 20);
    EXPECT_EQ(ConvertTeamNumber(1, false), 1);
    EXPECT_EQ(ConvertTeamNumber(25, false), 5);
    EXPECT_EQ(ConvertTeamNumber(120, false), 9);
    EXPECT_EQ(ConvertTeamNumber(21, false), -1);
    EXPECT_EQ(ConvertTeamNumber(999, false), -1);
}

TEST_F(TeamNumbers, TeamToAlias) {
    EXPECT_EQ(ConvertTeamNumber(5, true), 25);
    EXPECT_EQ(ConvertTeamNumber(3, true), -1);  // no alias
    EXPECT_EQ(ConvertTeamNumber(12, true), -1); // blank alias
    EXPECT_EQ(ConvertTeamNumber(30, true), 30); // above the team count: already an alias
}

TEST_F(TeamNumbers, FirstRowWithTheAliasWins) {
    alias(15, "25");
    EXPECT_EQ(ConvertTeamNumber(25, false), 5);
}

TEST_F(TeamNumbers, NumberCardMustStandInItsRow) {
    form().TeamEntryGrid.SetCells(0, 5, "");
    EXPECT_EQ(ConvertTeamNumber(5, true), -1);
}

TEST_F(TeamNumbers, ZeroAndNegativeNameNoTeam) {
    alias(7, "0");
    for (bool toAlias : {false, true}) {
        EXPECT_EQ(ConvertTeamNumber(0, toAlias), -1) << toAlias;
        EXPECT_EQ(ConvertTeamNumber(-3, toAlias), -1) << toAlias;
    }
}

TEST_F(TeamNumbers, AliasesFollowTheTeamCount) {
    form().SankaSpinNum.SetValue(4);
    // Team 5 is gone: 25 names nobody, and 5 is now an alias itself.
    EXPECT_EQ(ConvertTeamNumber(25, false), -1);
    EXPECT_EQ(ConvertTeamNumber(5, true), 5);
}
