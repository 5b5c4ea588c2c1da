#include "database/TimeCodes.h"
#include "platform/Dates.h"

#include <gtest/gtest.h>

TEST(TimeCodes, SecondsModeConvertsAndNormalises) {
    EXPECT_EQ(TimeDigitsToSeconds(12345, false), 5025);
    EXPECT_EQ(SecondsToDigits(5025, false), 12345);
    // typed seconds of 60-99 carry one minute; minutes never fold into hours
    EXPECT_EQ(TimeDigitsToSeconds(960, false), 600);
    EXPECT_EQ(SecondsToDigits(600, false), 1000);
    EXPECT_EQ(TimeDigitsToSeconds(9999, false), 6039);
    EXPECT_EQ(SecondsToDigits(6039, false), 14039);
    EXPECT_EQ(TimeDigitsToSeconds(9000, false), 5400);
    EXPECT_EQ(SecondsToDigits(-5, false), -5);
    EXPECT_EQ(SecondsToDigits(0, false), 0);
    EXPECT_EQ(TimeDigitsToSeconds(0, false), 0);
}

TEST(TimeCodes, HundredthsModeConvertsBothWays) {
    EXPECT_EQ(TimeDigitsToSeconds(1234567, true), 502567);
    EXPECT_EQ(SecondsToDigits(502567, true), 1234567);
    EXPECT_EQ(SecondsToClockText(502567, true), " 1:23:45.67");
    EXPECT_EQ(TimeDigitsToSeconds(96005, true), 60005); // 9'60"05 carries
    EXPECT_EQ(SecondsToMarkText(6505, true), " 1'05\"05");
}

TEST(TimeCodes, ClockAndMarkTexts) {
    EXPECT_EQ(SecondsToClockText(5025, false), " 1:23:45");
    EXPECT_EQ(SecondsToMarkText(5025, false), " 1ﾟ23'45\"");
    EXPECT_EQ(SecondsToMarkText(65, false), " 1'05\"");
    EXPECT_EQ(SecondsToMarkText(5, false), " 5\"");
    EXPECT_EQ(SecondsToMarkText(36000, false), "10ﾟ00'00\"");
}

TEST(TimeCodes, DisplayTextOfCells) {
    EXPECT_EQ(TimeToDisplayText("", false), "");
    EXPECT_EQ(TimeToDisplayText("0", false), "");
    EXPECT_EQ(TimeToDisplayText("abc", false), "");
    EXPECT_EQ(TimeToDisplayText("-300", false), "ﾏｲﾅｽ");
    EXPECT_EQ(TimeToDisplayText("12345", false), " 1ﾟ23'45\"");
    EXPECT_EQ(TimeToDisplayText("1234567", true), " 1ﾟ23'45\"67");
}

TEST(TimeCodes, KanjiTexts) {
    EXPECT_EQ(SecondsToKanjiText(3723, false), "1時間2分3秒");
    EXPECT_EQ(SecondsToKanjiText(125, false), "2分5秒");
    EXPECT_EQ(SecondsToKanjiText(5, false), "5秒");
    EXPECT_EQ(SecondsToKanjiTextPadded(3723, false), "1時間2分03秒");
    EXPECT_EQ(SecondsToKanjiTextPadded(5, false), "05秒");
    EXPECT_EQ(SecondsToKanjiText(372345, true), "1時間2分3秒45");
    EXPECT_EQ(SecondsToKanjiTextPadded(500, true), "05秒00");
}

TEST(TimeCodes, DatesInJapanese) {
    EXPECT_EQ(DateTextToKanji("2009/01/04", 0), "2009年1月4日");
    EXPECT_EQ(DateTextToKanji("2009/01/04", 3), "2009年1月4日");
    EXPECT_EQ(DateTextToKanji("2009/01/04", 1), "1月4日");
    EXPECT_EQ(DateTextToKanji("2009/01/04", 2), "平成21年1月4日");
    EXPECT_EQ(DateTextToKanji("2020/11/03", 2), "令和2年11月3日");
    EXPECT_EQ(DateTextToKanji("2009/01/04", 4), "");
    EXPECT_THROW(DateTextToKanji("2009/13/40", 0), ConvertError);
}
