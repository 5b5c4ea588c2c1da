#include "components/DaySdlerModel.h"
#include "components/SetClock.h"

#include <gtest/gtest.h>

using namespace components;

namespace {

class DaySdlerModelTest : public ::testing::Test {
  protected:
    SetClock clock;
    std::unique_ptr<DaySdlerModel> m;
    int layouts = 0, repaints = 0;

    void SetUp() override {
        clock.set(Ymd(2024, 4, 10), 10, 30, 0);
        m = std::make_unique<DaySdlerModel>(clock.fn());
        m->Tick();
        m->OnLayout.connect([this] { ++layouts; });
        m->OnRepaint.connect([this] { ++repaints; });
    }
    // The rows drawn in the hour colours.
    std::vector<int> highlighted() const {
        std::vector<int> rows;
        for (int r = 0; r < m->Grid.RowCount(); ++r)
            if (m->DrawCell(0, r).Background >= 0) rows.push_back(r);
        return rows;
    }
};

} // namespace

TEST_F(DaySdlerModelTest, ListsTheWorkingHoursUnderTheTitles) {
    EXPECT_EQ(m->Grid.RowCount(), 15);
    EXPECT_EQ(m->Grid.Row(0), (std::vector<std::string>{"予約時間", "患者名"}));
    EXPECT_EQ(m->Grid.Cells(0, 1), "08 - 09");
    EXPECT_EQ(m->Grid.Cells(0, 14), "21 - 22");

    m->Grid.SetCells(1, 2, "山田*");
    const CellStyle marked = m->DrawCell(1, 2);
    EXPECT_EQ(std::pair(marked.Text, marked.FontColor), std::pair(std::string("山田"), Rgb(255, 0, 0)));

    // New hours or titles lay the rows out again; the free column starts empty.
    m->SetStWorkTime(9);
    m->SetWorkHour(3);
    m->SetTitleB("氏名");
    EXPECT_EQ(layouts, 3);
    EXPECT_EQ(m->Grid.RowCount(), 4);
    EXPECT_EQ(m->Grid.Row(1), (std::vector<std::string>{"09 - 10", ""}));
    EXPECT_EQ(m->Grid.Row(0), (std::vector<std::string>{"予約時間", "氏名"}));
    m->SetStWorkTime(9);
    m->SetTitleB("氏名");
    EXPECT_EQ(layouts, 3);
}

TEST_F(DaySdlerModelTest, TheCurrentHourIsMarkedOnTheTargetDateOnly) {
    EXPECT_EQ(highlighted(), std::vector<int>{3});
    const CellStyle hour = m->DrawCell(1, 3);
    EXPECT_EQ(std::pair(hour.Background, hour.FontColor), std::pair(Rgb(0, 255, 255), Rgb(0, 0, 128)));

    m->SetTimeColor(Rgb(255, 255, 0));
    EXPECT_EQ(m->DrawCell(0, 3).Background, Rgb(255, 255, 0));
    m->SetTargetDate(Ymd(2024, 4, 11));
    EXPECT_EQ(highlighted(), std::vector<int>{});
    EXPECT_EQ(repaints, 2);
    m->SetTargetDate(Ymd(2024, 4, 10));

    // The highlight follows the hour rows when they move.
    m->SetStWorkTime(9);
    EXPECT_EQ(highlighted(), std::vector<int>{2});

    // The title row is no hour: before work starts nothing is marked.
    clock.set(Ymd(2024, 4, 10), 8, 0, 0);
    EXPECT_TRUE(m->Tick());
    EXPECT_EQ(highlighted(), std::vector<int>{});
}

TEST_F(DaySdlerModelTest, TheTimerRepaintsOnlyWhenTheHourTurns) {
    EXPECT_EQ(std::tuple(m->Hour(), m->Min()), std::tuple(10, 30));
    clock.set(Ymd(2024, 4, 10), 10, 59, 59);
    EXPECT_FALSE(m->Tick());
    EXPECT_EQ(m->Min(), 30);
    EXPECT_EQ(repaints, 0);
    clock.set(Ymd(2024, 4, 10), 11, 0, 5);
    EXPECT_TRUE(m->Tick());
    EXPECT_EQ(std::tuple(m->Hour(), m->Min(), m->Sec()), std::tuple(11, 0, 5));
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(highlighted(), std::vector<int>{4});
}
