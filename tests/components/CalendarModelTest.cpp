#include "components/CalendarModel.h"
#include "components/SetClock.h"

#include <gtest/gtest.h>

using namespace components;
using std::chrono::year_month_day;

namespace {

struct Shown {
    int day, outside;
    bool direct;
    bool operator==(const Shown&) const = default;
};

Shown at(CalendarModel& m, int col, int row) {
    int outside = 99;
    const int day = m.DayNum(col, row, outside);
    return {day, outside, m.GetDirectSw()};
}

CalendarModel page(year_month_day date, int startOfWeek) {
    CalendarModel m(date);
    m.SetStartOfWeek(startOfWeek);
    return m;
}

} // namespace

TEST(CalendarModelTest, DaysStandUnderTheirWeekdaysAndOverflowIntoNeighbourMonths) {
    CalendarModel april = page(Ymd(2024, 4, 10), 1);
    EXPECT_EQ(at(april, 0, 1), (Shown{1, 0, true}));
    EXPECT_EQ(at(april, 2, 5), (Shown{1, 1, false})); // 1 May
    CalendarModel sundayFirst = page(Ymd(2024, 4, 10), 7);
    EXPECT_EQ(at(sundayFirst, 0, 1), (Shown{31, -1, false})); // 31 March
    EXPECT_EQ(at(sundayFirst, 1, 1), (Shown{1, 0, true}));
    CalendarModel september = page(Ymd(2024, 9, 1), 1); // the offset 2 becomes -5
    EXPECT_EQ(at(september, 6, 1), (Shown{1, 0, true}));
    EXPECT_EQ(at(september, 0, 1), (Shown{26, -1, false}));
    CalendarModel january = page(Ymd(2025, 1, 15), 1);
    EXPECT_EQ(at(january, 0, 1), (Shown{30, -1, false})); // 30 December 2024

    // Whatever the first weekday and month, every day of the month lies in the column
    // whose header names its weekday, and the current cell is on the shown day.
    const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (year_month_day date : {Ymd(2024, 2, 29), Ymd(2023, 2, 1), Ymd(2024, 9, 30), Ymd(2026, 12, 31)})
        for (int sow = 1; sow <= 7; ++sow) {
            CalendarModel m = page(date, sow);
            int seen = 0;
            for (int r = 1; r < 7; ++r)
                for (int c = 0; c < 7; ++c) {
                    int outside = 0;
                    const int d = m.DayNum(c, r, outside);
                    if (outside != 0) continue;
                    ++seen;
                    const year_month_day day = date.year() / date.month() / std::chrono::day(d);
                    const unsigned wd = std::chrono::weekday{std::chrono::sys_days{day}}.c_encoding();
                    EXPECT_EQ(m.DrawCell(c, 0).Text, names[wd]) << sow << " " << d;
                    if (day == date) {
                        EXPECT_EQ(std::pair(m.Col(), m.Row()), std::pair(c, r));
                    }
                }
            EXPECT_EQ(seen, CalendarModel::DaysPerMonth(int(date.year()), unsigned(date.month())));
        }
}

TEST(CalendarModelTest, DateEditsKeepToExistingDates) {
    CalendarModel m(Ymd(2024, 4, 10));
    int changes = 0;
    m.OnChange.connect([&] { ++changes; });
    m.SetDateElement(3, 31);
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 4, 1));
    m.SetCalendarDate(Ymd(2024, 1, 31));
    m.SetDateElement(2, 2);
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 2, 1));
    EXPECT_EQ(changes, 3);
    for (auto [index, value] : {std::pair{3, 0}, {2, -1}, {1, 10000}, {2, 13}, {4, 5}, {0, 5}})
        m.SetDateElement(index, value);
    m.SetCalendarDate(Ymd(2023, 2, 29));
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 2, 1));
    EXPECT_EQ(changes, 3);
    m.SetDateElement(1, 9999);
    EXPECT_EQ(m.CalendarDate(), Ymd(9999, 2, 1));
    EXPECT_EQ(
        (std::array{m.GetDateElement(1), m.GetDateElement(2), m.GetDateElement(3), m.GetDateElement(0)}),
        (std::array{9999, 2, 1, -1}));

    for (auto [in, out] : {std::pair{0, 1}, {9, 7}, {-3, 1}, {4, 4}}) {
        m.SetStartOfWeek(in);
        EXPECT_EQ(m.GetStartOfWeek(), out);
    }
    for (auto [y, mo, days] :
         {std::array{2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28}, {2000, 2, 29}, {2024, 4, 30}})
        EXPECT_EQ(CalendarModel::DaysPerMonth(y, mo), days);
}

TEST(CalendarModelTest, MonthStepsLayTheNewMonthOut) {
    CalendarModel m = page(Ymd(2024, 4, 10), 1);
    m.NextMonth();
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 5, 10));
    EXPECT_EQ(at(m, 2, 1), (Shown{1, 0, true})); // 1 May, a Wednesday
    m.SetCalendarDate(Ymd(2024, 2, 29));
    m.NextYear();
    EXPECT_EQ(m.CalendarDate(), Ymd(2025, 2, 28));
    m.PrevMonth();
    m.PrevYear();
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 1, 28));
    m.SetCalendarDate(Ymd(9999, 12, 31));
    m.NextMonth();
    EXPECT_EQ(m.CalendarDate(), Ymd(9999, 12, 31));
}

TEST(CalendarModelTest, ClickOnAGreyDayMovesToThatMonth) {
    CalendarModel m = page(Ymd(2024, 4, 10), 7);
    int changes = 0;
    m.OnChange.connect([&] { ++changes; });
    m.SetCurrent(0, 1); // the grey 31
    m.Click();
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 3, 31));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(std::pair(m.Col(), m.Row()), std::pair(0, 6));
    m.SetCurrent(1, 6); // 1 April, grey on the March page
    m.Click();
    EXPECT_EQ(m.CalendarDate(), Ymd(2024, 4, 1));
    m.SetCurrent(3, 0); // the day-name row is out of reach
    EXPECT_EQ(std::pair(m.Col(), m.Row()), std::pair(1, 1));
}

TEST(CalendarModelTest, WeekendsAndOtherMonthsHaveTheirColours) {
    CalendarModel m = page(Ymd(2024, 4, 10), 1); // column 5 Saturday, 6 Sunday
    struct Case {
        int col, row;
        std::string text;
        int back, fore;
    };
    const Case cases[] = {
        {5, 1, "6", Rgb(187, 240, 253), Rgb(0, 0, 255)},
        {6, 1, "7", Rgb(254, 226, 253), Rgb(255, 0, 0)},
        {5, 5, "4", Rgb(187, 240, 253), Rgb(192, 192, 192)},
        {0, 6, "6", -1, Rgb(192, 192, 192)},
        {2, 2, "10", -1, -1},
        {5, 0, "土", Rgb(0, 255, 255), -1},
        {6, 0, "日", Rgb(255, 0, 0), -1},
        {0, 0, "月", -1, -1},
    };
    for (const Case& c : cases) {
        const CellStyle s = m.DrawCell(c.col, c.row);
        EXPECT_EQ(std::tuple(s.Text, s.Background, s.FontColor), std::tuple(c.text, c.back, c.fore))
            << c.col << "," << c.row;
        EXPECT_EQ(s.Align, CellAlign::Center);
    }
    // Names from the locale are cut to two Shift-JIS bytes: one kanji or two letters.
    m.SetDayNames({"Sun", "Monday", "Tue", "Wed", "Thu", "Fri", "Sat"});
    EXPECT_EQ(m.DrawCell(0, 0).Text, "Mo");
    m.SetDayNames({"日曜日", "月曜日", "火", "水", "木", "金", "土"});
    EXPECT_EQ(m.DrawCell(6, 0).Text, "日");
}
