#include "components/DgitClockModel.h"
#include "components/NumberEditModel.h"
#include "components/SetClock.h"

#include <gtest/gtest.h>

using namespace components;

TEST(DgitClockModelTest, ShowsTheTimeAndFollowsTheDateOverMidnight) {
    SetClock clock;
    DgitClockModel m(clock.fn());
    clock.set(Ymd(2024, 4, 10), 9, 5, 3);
    m.ShowTime();
    EXPECT_EQ(m.Caption(), "09:05:03");
    clock.set(Ymd(2024, 12, 31), 23, 59, 59);
    m.ShowTime();
    EXPECT_EQ(m.Caption(), "23:59:59");
    EXPECT_EQ(std::tuple(m.Year(), m.Month(), m.Day()), std::tuple(2024, 12, 31));
    clock.set(Ymd(2025, 1, 1), 0, 0, 0);
    m.ShowTime();
    EXPECT_EQ(m.Caption(), "00:00:00");
    EXPECT_EQ(std::tuple(m.Year(), m.Month(), m.Day()), std::tuple(2025, 1, 1));
    EXPECT_EQ(m.LastDate(), Ymd(2025, 1, 1));
}

TEST(NumberEditModelTest, OnlyDigitsAndControlKeysAreTyped) {
    for (auto [in, out] : {std::pair<char32_t, char32_t>{U'7', U'7'},
                           {U'a', 0},
                           {U'-', 0},
                           {U',', 0},
                           {U'\r', 0},
                           {U' ', U' '},
                           {U'\b', U'\b'},
                           {U'\x16', U'\x16'},
                           {U'７', 0},
                           {U'円', 0}}) {
        char32_t key = in;
        NumberEditModel::KeyPress(key);
        EXPECT_EQ(key, out) << static_cast<unsigned>(in);
    }
}

TEST(NumberEditModelTest, TextFollowsTheFlagsAndTheEditing) {
    struct Case {
        int value;
        bool comma, yen;
        std::string text;
    };
    const GroupDigits group = [](int v) { return v == 0 ? std::string("0") : "g" + std::to_string(v); };
    for (const Case& c : {Case{1234567, true, true, "¥g1234567"},
                          {1234567, false, false, "1234567"},
                          {-1234, false, true, "¥-1234"},
                          {0, true, true, "¥0"},
                          {-5, true, false, "g-5"}})
        EXPECT_EQ(NumberText(c.value, c.comma, c.yen, group), c.text);

    NumberEditModel m(nullptr); // grouping by threes with ","
    int shown = 0;
    m.OnText = [&] { ++shown; };
    m.SetComma(true);
    m.SetYen(true);
    m.SetValue(1234567);
    EXPECT_EQ(m.GetText(), "¥1,234,567");
    m.DoEnter();
    EXPECT_EQ(m.GetText(), "1234567");
    m.EditText("98");
    m.DoExit();
    EXPECT_EQ(std::pair(m.Value(), m.GetText()), std::pair(98, std::string("¥98")));
    m.EditText("");
    m.DoExit();
    EXPECT_EQ(std::pair(m.Value(), m.GetText()), std::pair(0, std::string("¥0")));
    m.SetText("1,234");
    EXPECT_EQ(m.Value(), 0);
    EXPECT_EQ(shown, 7);

    m.DoEnter(); // values and flags set by code while the box is edited stay plain digits
    m.SetValue(4200);
    m.SetYen(false);
    EXPECT_EQ(m.GetText(), "4200");
    m.DoExit();
    EXPECT_EQ(std::pair(m.Value(), m.GetText()), std::pair(4200, std::string("4,200")));
}
