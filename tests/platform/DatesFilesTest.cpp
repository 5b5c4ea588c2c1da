#include "platform/Dates.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

// ---------------------------------------------------------------- dates

TEST(Dates, ParseSeparatorsAndTrim) {
    EXPECT_EQ(StrToDate("2009/1/4"), (Date{2009, 1, 4}));
    EXPECT_EQ(StrToDate(" 2009/01/04 "), (Date{2009, 1, 4}));
    EXPECT_EQ(StrToDate("2009-1-4"), (Date{2009, 1, 4}));
    EXPECT_EQ(StrToDate("2009.12.31"), (Date{2009, 12, 31}));
    EXPECT_EQ(StrToDate("2008/2/29"), (Date{2008, 2, 29}));
    EXPECT_EQ(StrToDate("2000/2/29"), (Date{2000, 2, 29}));
}

TEST(Dates, BadTextOrInvalidDateThrows) {
    for (const char* bad :
         {"2009/02/30", "2009/2/29", "1900/2/29", "2009/13/1",  "2009/0/1",  "2009/1/0", "",
          "  ",         "abc",       "2009/1",    "2009/1/4/5", "2009/1/4x", "2009/1-4", "2009//4",
          "１２/1/1",   "2009 /1/4", "20090/1/4", "2009/001/4", "-2009/1/4", "2009/1/ 4"}) {
        EXPECT_THROW(StrToDate(bad), ConvertError) << bad;
        Date d{1, 2, 3};
        EXPECT_FALSE(TryStrToDate(bad, d)) << bad;
        EXPECT_EQ(d, (Date{1, 2, 3}));
    }
    try {
        StrToDate("2009/02/30");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("2009/02/30"), std::string::npos);
    }
}

TEST(Dates, TwoDigitYearsFallIntoTheCenturyWindow) {
    const int now = Today().Year;
    const Date d = StrToDate(Format("%02d/3/1", now % 100));
    EXPECT_EQ(d.Year, now);
    const Date old = StrToDate(Format("%02d/3/1", (now - 49) % 100));
    EXPECT_EQ(old.Year, now - 49);
}

TEST(Dates, FormatAndIso) {
    EXPECT_EQ(DateToStr({2009, 1, 4}), "2009/01/04");
    EXPECT_EQ(DateToStr({}), "");
    EXPECT_EQ(DateToIso({2009, 1, 4}), "2009-01-04");
    EXPECT_EQ(DateToIso({}), "");
    EXPECT_EQ(IsoToDate("2009-01-04"), (Date{2009, 1, 4}));
    EXPECT_EQ(IsoToDate("2009-01-04 12:00:00"), (Date{2009, 1, 4}));
    EXPECT_TRUE(IsoToDate("2009-02-30").IsNull());
    EXPECT_TRUE(IsoToDate("2009/01/04").IsNull());
    EXPECT_TRUE(IsoToDate("").IsNull());
    EXPECT_TRUE(IsoToDate("2009-1-4").IsNull());
    for (const Date d : {Date{1999, 12, 31}, Date{2024, 2, 29}, Date{1, 1, 1}, Date{9999, 12, 31}}) {
        EXPECT_EQ(StrToDate(DateToStr(d)), d);
        EXPECT_EQ(IsoToDate(DateToIso(d)), d);
    }
}

TEST(Dates, EraNames) {
    EXPECT_EQ(EraText({1989, 1, 8}), "平成1");
    EXPECT_EQ(EraText({1989, 1, 7}), "昭和64");
    EXPECT_EQ(EraText({2009, 1, 4}), "平成21");
    EXPECT_EQ(EraText({2019, 4, 30}), "平成31");
    EXPECT_EQ(EraText({2019, 5, 1}), "令和1");
    EXPECT_EQ(EraText({2025, 11, 3}), "令和7");
    EXPECT_EQ(EraText({1926, 12, 25}), "昭和1");
    EXPECT_EQ(EraText({1926, 12, 24}), "大正15");
    EXPECT_EQ(EraText({1912, 7, 30}), "大正1");
    EXPECT_EQ(EraText({1912, 7, 29}), "明治45");
    EXPECT_EQ(EraText({1868, 1, 1}), "明治1");
    EXPECT_EQ(EraText({1867, 12, 31}), "1867");
    EXPECT_EQ(EraText({}), "");
}

TEST(Dates, WeekdaysMonthsAndDayNames) {
    EXPECT_EQ(DayOfWeek({2009, 1, 4}), 1);  // a Sunday
    EXPECT_EQ(DayOfWeek({2024, 1, 1}), 2);  // a Monday
    EXPECT_EQ(DayOfWeek({2000, 2, 29}), 3); // a Tuesday
    EXPECT_EQ(DayOfWeek({1970, 1, 1}), 5);  // a Thursday
    EXPECT_EQ(DayOfWeek({1868, 1, 1}), 4);  // a Wednesday
    EXPECT_EQ(DayOfWeek({2025, 12, 6}), 7); // a Saturday
    EXPECT_EQ(ShortDayName(1), "日");
    EXPECT_EQ(ShortDayName(4), "水");
    EXPECT_EQ(ShortDayName(7), "土");
    EXPECT_EQ(ShortDayName(0), "");
    EXPECT_EQ(ShortDayName(8), "");
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 4), 30);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_EQ(IncMonth({2009, 1, 31}, 1), (Date{2009, 2, 28}));
    EXPECT_EQ(IncMonth({2008, 1, 31}, 1), (Date{2008, 2, 29}));
    EXPECT_EQ(IncMonth({2009, 3, 31}, -1), (Date{2009, 2, 28}));
    EXPECT_EQ(IncMonth({2009, 1, 15}, -1), (Date{2008, 12, 15}));
    EXPECT_EQ(IncMonth({2009, 1, 15}, -13), (Date{2007, 12, 15}));
    EXPECT_EQ(IncMonth({2009, 11, 30}, 14), (Date{2011, 1, 30}));
    EXPECT_EQ(IncMonth({2009, 5, 5}, 0), (Date{2009, 5, 5}));
    EXPECT_TRUE(IsValidDate(2009, 2, 28));
    EXPECT_FALSE(IsValidDate(2009, 2, 29));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
}

TEST(Dates, TodayAndNowAreLocalTime) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    const Date today = Today();
    const TimeOfDay now = Now();
    // Around midnight the two readings may differ by a day; accept that one case.
    if (tm.tm_hour == 23 && tm.tm_min == 59) GTEST_SKIP();
    EXPECT_EQ(today, (Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}));
    EXPECT_TRUE(IsValidDate(today.Year, today.Month, today.Day));
    EXPECT_EQ(now.Hour, tm.tm_hour);
    EXPECT_GE(now.MSec, 0);
    EXPECT_LT(now.MSec, 1000);
}

TEST(Dates, ParseTimes) {
    const TimeOfDay a = StrToTime("9:05:30");
    EXPECT_EQ(a.Hour, 9);
    EXPECT_EQ(a.Min, 5);
    EXPECT_EQ(a.Sec, 30);
    const TimeOfDay b = StrToTime(" 23:59 ");
    EXPECT_EQ(b.Hour, 23);
    EXPECT_EQ(b.Min, 59);
    EXPECT_EQ(b.Sec, 0);
    EXPECT_EQ(StrToTime("00:00:00").Hour, 0);
    for (const char* bad :
         {"24:00", "9:60", "9:00:60", "9", "", "a:b", "9:00:00:00", "9::00", "-1:00", "9:5x"})
        EXPECT_THROW(StrToTime(bad), ConvertError) << bad;
}

// ---------------------------------------------------------------- files

namespace {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "tavren-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

} // namespace

TEST_F(FilesTest, WriteFileBytesReplacesAtOnceAndLeavesNoTemporaryFile) {
    const fs::path p = dir / "大会情報.db";
    const std::string bytes("a\0b\r\n\xFF", 6);
    ASSERT_TRUE(WriteFileBytes(p, bytes));
    std::string back;
    ASSERT_TRUE(ReadFileBytes(p, back));
    EXPECT_EQ(back, bytes);
    ASSERT_TRUE(WriteFileBytes(p, "short"));
    ASSERT_TRUE(ReadFileBytes(p, back));
    EXPECT_EQ(back, "short");
    ASSERT_TRUE(WriteFileBytes(p, ""));
    EXPECT_EQ(FileSizeOf(p), 0);
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{"大会情報.db"});
    // A new file gets the usual mode (not mkstemp's 0600).
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(FilesTest, WriteFailsCleanly) {
    EXPECT_FALSE(WriteFileBytes(dir / "missing" / "a.txt", "x"));
    ASSERT_TRUE(CreateDir(dir / "sub"));
    EXPECT_FALSE(WriteFileBytes(dir / "sub", "x")); // a folder is not replaced by a file
    EXPECT_TRUE(DirectoryExists(dir / "sub"));
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{"sub"});
    EXPECT_EQ(ListDir(dir / "sub"), std::vector<std::string>{});
}

TEST_F(FilesTest, SjisFilesAndReads) {
    const fs::path p = dir / "score.txt";
    ASSERT_TRUE(WriteSjisFile(p, "東京ｶ\r\n"));
    std::string raw, text;
    ASSERT_TRUE(ReadFileBytes(p, raw));
    EXPECT_EQ(raw, "\x93\x8C\x8B\x9E\xB6\r\n");
    ASSERT_TRUE(ReadSjisFile(p, text));
    EXPECT_EQ(text, "東京ｶ\r\n");
    EXPECT_FALSE(ReadFileBytes(dir / "none", raw));
    EXPECT_FALSE(ReadSjisFile(dir / "none", text));
    EXPECT_FALSE(ReadFileBytes(dir, raw));
    EXPECT_EQ(FileSizeOf(p), 7);
    EXPECT_EQ(FileSizeOf(dir / "none"), -1);
    EXPECT_EQ(FileSizeOf(dir), -1);
}

TEST_F(FilesTest, FoldersListsAndDeletes) {
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_TRUE(CreateDir(dir / "tvnData"));
    EXPECT_FALSE(CreateDir(dir / "tvnData")); // already there
    EXPECT_FALSE(CreateDir(dir / "a" / "b")); // one level only
    EXPECT_TRUE(ForceDirectories(dir / "a" / "b" / "c"));
    EXPECT_TRUE(ForceDirectories(dir / "a" / "b")); // already there is fine
    EXPECT_TRUE(DirectoryExists(dir / "a" / "b" / "c"));
    ASSERT_TRUE(WriteFileBytes(dir / "z.txt", "z"));
    ASSERT_TRUE(WriteFileBytes(dir / "B.txt", "b"));
    ASSERT_TRUE(WriteFileBytes(dir / "チーム情報001.db", "t"));
    EXPECT_TRUE(FileExists(dir / "z.txt"));
    EXPECT_FALSE(DirectoryExists(dir / "z.txt"));
    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"B.txt", "a", "tvnData", "z.txt", "チーム情報001.db"}));
    EXPECT_EQ(ListSubdirs(dir), (std::vector<std::string>{"a", "tvnData"}));
    EXPECT_TRUE(ListDir(dir / "nothing").empty());
    EXPECT_TRUE(DeleteFileAt(dir / "z.txt"));
    EXPECT_FALSE(DeleteFileAt(dir / "z.txt"));
    EXPECT_FALSE(DeleteFileAt(dir / "tvnData")); // not for folders
    EXPECT_TRUE(DirectoryExists(dir / "tvnData"));
}

TEST_F(FilesTest, CopyHonoursFailIfExists) {
    ASSERT_TRUE(WriteFileBytes(dir / "ini1.INI", "one"));
    ASSERT_TRUE(WriteFileBytes(dir / "ini2.INI", "two"));
    EXPECT_FALSE(CopyFileTo(dir / "ini1.INI", dir / "ini2.INI", true));
    std::string b;
    ASSERT_TRUE(ReadFileBytes(dir / "ini2.INI", b));
    EXPECT_EQ(b, "two");
    EXPECT_TRUE(CopyFileTo(dir / "ini1.INI", dir / "ini2.INI", false));
    ASSERT_TRUE(ReadFileBytes(dir / "ini2.INI", b));
    EXPECT_EQ(b, "one");
    EXPECT_TRUE(CopyFileTo(dir / "ini1.INI", dir / "ini3.INI", true));
    EXPECT_FALSE(CopyFileTo(dir / "none.INI", dir / "ini4.INI", false));
    EXPECT_FALSE(FileExists(dir / "ini4.INI"));
}

TEST(FileNames, ExtractAndChangeExt) {
    EXPECT_EQ(ExtractFileName("C:\\tvnData\\race\\大会情報.db"), "大会情報.db");
    EXPECT_EQ(ExtractFileName("/home/u/tvnData/a.txt"), "a.txt");
    EXPECT_EQ(ExtractFileName("DataHTML\\csv/x.csv"), "x.csv");
    EXPECT_EQ(ExtractFileName("plain"), "plain");
    EXPECT_EQ(ExtractFileName("dir/"), "");
    EXPECT_EQ(ChangeFileExt("/opt/tavren/theTavren", ".INI"), "/opt/tavren/theTavren.INI");
    EXPECT_EQ(ChangeFileExt("/opt/tavren/theTavren.exe", ".INI"), "/opt/tavren/theTavren.INI");
    EXPECT_EQ(ChangeFileExt("result.xls", ".xlsx"), "result.xlsx");
    EXPECT_EQ(ChangeFileExt("a.b/c", ".x"), "a.b/c.x");
    EXPECT_EQ(ChangeFileExt("a.b\\c", ".x"), "a.b\\c.x");
    EXPECT_EQ(ChangeFileExt("x.tar.gz", ""), "x.tar");
}

TEST(FileNames, SleepMsWaits) {
    const auto t0 = std::chrono::steady_clock::now();
    SleepMs(30);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(30));
    SleepMs(0);
    SleepMs(-5);
}
