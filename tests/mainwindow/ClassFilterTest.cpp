#include "support/ProgramFixture.h"

class ClassFilterTest : public ProgramFixture {};

TEST_F(ClassFilterTest, NoFilterKeepsEveryClass) {
    EXPECT_EQ(form().GetClassFilter(), "");
    for (char c : {'A', 'b', ' ', '\0'}) EXPECT_FALSE(form().IsClassFilteredOut(c)) << int(c);
    form().SetClassFilter(" \t ");
    EXPECT_FALSE(form().IsClassFilteredOut('A'));
}

TEST_F(ClassFilterTest, FilterKeepsOnlyItsLetterByteForByte) {
    form().SetClassFilter("B");
    EXPECT_FALSE(form().IsClassFilteredOut('B'));
    for (char c : {'A', 'b', ' '}) EXPECT_TRUE(form().IsClassFilteredOut(c)) << c;
}

TEST_F(ClassFilterTest, SurroundingBlanksAreTrimmedOnRead) {
    form().SetClassFilter("  C\r\n");
    EXPECT_EQ(form().ClassFilter, "  C\r\n");
    EXPECT_EQ(form().GetClassFilter(), "C");
    EXPECT_FALSE(form().IsClassFilteredOut('C'));
    EXPECT_TRUE(form().IsClassFilteredOut(' '));
    form().SetClassFilter("");
    EXPECT_FALSE(form().IsClassFilteredOut(' '));
}
