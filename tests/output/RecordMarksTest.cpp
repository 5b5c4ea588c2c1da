#include "output/RecordMarks.h"

#include "platform/Files.h"
#include "support/ProgramFixture.h"

#include <limits>

class RecordComparison : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        form().KukanSpinNum.SetValue(3);
    }
    void legRecord(int leg, const std::string& code) { form().KukanInfGrid.SetCells(3, leg, code); }
    void raceRecord(const std::string& code) { form().taikaiBestGrid.SetCells(3, 1, code); }
};

TEST_F(RecordComparison, LegRecord) {
    legRecord(2, "1500"); // 15'00" = 900 s
    EXPECT_EQ(CompareLegRecord(899, 2), kNewRecord);
    EXPECT_EQ(CompareLegRecord(900, 2), kRecordEqualled);
    EXPECT_EQ(CompareLegRecord(901, 2), kNotBeaten);
    EXPECT_EQ(CompareLegRecord(0, 2), kNotBeaten);
}

TEST_F(RecordComparison, EmptyOrZeroRecordIsNoRecord) {
    for (std::string none : {"", "0", " ", "abc"}) {
        legRecord(1, none);
        EXPECT_EQ(CompareLegRecord(500, 1), kNoRecordSet) << '"' << none << '"';
        EXPECT_EQ(CompareLegRecord(0, 1), kNoRecordSet) << '"' << none << '"';
    }
}

TEST_F(RecordComparison, HundredthsRecord) {
    form().chk100.SetChecked(true);
    legRecord(1, "150050"); // 15'00"50
    EXPECT_EQ(CompareLegRecord(90050, 1), kRecordEqualled);
    EXPECT_EQ(CompareLegRecord(90049, 1), kNewRecord);
    EXPECT_EQ(CompareLegRecord(90051, 1), kNotBeaten);
}

TEST_F(RecordComparison, TaikaiRecordOnlyAtTheLastLeg) {
    EXPECT_EQ(CompareTaikaiRecord(7000, 2), kNotBeaten); // not the last leg, no record set
    EXPECT_EQ(CompareTaikaiRecord(7000, 3), kNoRecordSet);
    raceRecord("20000"); // 2:00'00" = 7200 s
    EXPECT_EQ(CompareTaikaiRecord(7000, 2), kNotBeaten);
    EXPECT_EQ(CompareTaikaiRecord(7199, 3), kNewRecord);
    EXPECT_EQ(CompareTaikaiRecord(7200, 3), kRecordEqualled);
    EXPECT_EQ(CompareTaikaiRecord(7300, 3), kNotBeaten);
    EXPECT_EQ(CompareTaikaiRecord(0, 3), kNotBeaten);
    raceRecord("0");
    EXPECT_EQ(CompareTaikaiRecord(7199, 3), kNoRecordSet);
}

TEST(ResultMarks, ValuesOutsideATablePrintNothing) {
    EXPECT_EQ(RecordMark(kNoRecordSet), "");
    EXPECT_EQ(RecordMark(kRecordEqualled), "▽");
    for (int v : {-1, 4}) EXPECT_EQ(RemarkLabel(v), "");
    for (int v : {-1, 3}) EXPECT_EQ(PrizeMark(v), "");
    for (int v : {-2, 3}) EXPECT_EQ(RecordMark(v), "");
}

TEST(SortPairs, StableByKey) {
    int keys[] = {3, 1, 3, 2};
    int values[] = {'a', 'b', 'c', 'd'};
    SortPairs(keys, values, 4);
    EXPECT_EQ(std::vector<int>(keys, keys + 4), (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(std::vector<int>(values, values + 4), (std::vector<int>{'b', 'd', 'a', 'c'}));

    int k2[] = {5, 4, 4, 1};
    int v2[] = {0, 1, 2, 3};
    SortPairs(k2, v2, 3); // only the first three take part
    EXPECT_EQ(std::vector<int>(v2, v2 + 4), (std::vector<int>{1, 2, 0, 3}));
}

TEST(KmToMetres, RoundsToTheNearestMetreAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(KmToMetres(5.095f), 5095);
    EXPECT_EQ(KmToMetres(42.195f), 42195);
    EXPECT_EQ(KmToMetres(0.0f), 0);
    EXPECT_EQ(KmToMetres(0.0006f), 1);
    EXPECT_EQ(KmToMetres(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(KmToMetres(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(KmToMetres(-3.0e9f), 0);
}

class OutputFolders : public ProgramFixture {};

TEST_F(OutputFolders, CreatesBothLevelsAndKeepsExistingOnes) {
    form().DataFolder = home.path() / "race";
    ASSERT_TRUE(CreateDir(form().DataFolder));
    MakeHtmlFolder();
    EXPECT_TRUE(DirectoryExists(home.path() / "race" / "DataHTML"));
    EXPECT_TRUE(DirectoryExists(home.path() / "race" / "DataHTML" / "csv"));
    ASSERT_TRUE(WriteFileBytes(HtmlCsvFolder() / "kept.csv", "x"));
    MakeHtmlFolder();
    EXPECT_TRUE(FileExists(home.path() / "race" / "DataHTML" / "csv" / "kept.csv"));
}

TEST_F(OutputFolders, VanishedRaceFolderCannotBeCreated) {
    form().DataFolder = home.path() / "gone";
    try {
        MakeHtmlFolder();
        FAIL() << "no error";
    } catch (const CreateFolderError& e) {
        EXPECT_EQ(std::string(e.what()),
                  (home.path() / "gone" / "DataHTML" / "").string() + " の作成に失敗しました。");
    }
    EXPECT_FALSE(DirectoryExists(home.path() / "gone"));
}

TEST_F(OutputFolders, NoRaceFolderNoFolders) {
    form().DataFolder.clear();
    EXPECT_THROW(MakeHtmlFolder(), CreateFolderError);
    EXPECT_FALSE(DirectoryExists("DataHTML"));
}
