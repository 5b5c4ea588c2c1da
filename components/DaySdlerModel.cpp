// Day schedule grid: hour rows, the timer's hour, the current-hour colours.
#include "components/DaySdlerModel.h"

#include "platform/Text.h"

#include <algorithm>

namespace components {

DaySdlerModel::DaySdlerModel(ClockFn clock) : clock_(std::move(clock)), targetDate_(clock_().Date) {
    Grid.SetColCount(kCols);
    Grid.SetFixedCols(0);
    Grid.SetFixedRows(1);
    SetTitleEtc();
}

// Each setting keeps only a changed value. A change of the hours or the titles lays
// the rows out again, so that their texts follow the highlight; the names typed into
// the free column stay with their rows (only the rows a shorter day drops lose theirs).
void DaySdlerModel::SetStWorkTime(uint16_t hour) {
    if (hour == stWorkTime_) return;
    stWorkTime_ = hour;
    layOut(workHour_);
}

void DaySdlerModel::SetWorkHour(uint16_t hours) {
    if (hours == workHour_) return;
    const int kept = std::min(hours, workHour_);
    workHour_ = hours;
    layOut(kept);
}

void DaySdlerModel::SetTitleA(const std::string& title) {
    if (title == titleA_) return;
    titleA_ = title;
    layOut(workHour_);
}

void DaySdlerModel::SetTitleB(const std::string& title) {
    if (title == titleB_) return;
    titleB_ = title;
    layOut(workHour_);
}

void DaySdlerModel::SetTimeColor(int color) {
    if (color == timeColor_) return;
    timeColor_ = color;
    OnRepaint();
}

void DaySdlerModel::SetTargetDate(std::chrono::year_month_day date) {
    if (date == targetDate_) return;
    targetDate_ = date;
    OnRepaint();
}

void DaySdlerModel::SetTitleEtc() {
    layOut(0);
}

// Rows past keptNames get an empty free column: new rows (or every row, when built)
// start without names, also where the grid kept cells beyond an earlier row count.
void DaySdlerModel::layOut(int keptNames) {
    Grid.SetRowCount(workHour_ + 1);
    Grid.SetCellsQuiet(0, 0, titleA_);
    Grid.SetCellsQuiet(1, 0, titleB_);
    for (int r = 1; r <= workHour_; ++r) {
        Grid.SetCellsQuiet(0, r, Format("%02d - %02d", stWorkTime_ - 1 + r, stWorkTime_ + r));
        if (r > keptNames) Grid.SetCellsQuiet(1, r, "");
    }
    OnLayout();
}

bool DaySdlerModel::Tick() {
    const LocalDateTime now = clock_();
    if (now.Hour == hour_) return false;
    lastRefresh_ = now;
    hour_ = static_cast<uint16_t>(now.Hour);
    min_ = static_cast<uint16_t>(now.Min);
    sec_ = static_cast<uint16_t>(now.Sec);
    msec_ = static_cast<uint16_t>(now.MSec);
    OnRepaint();
    return true;
}

CellStyle DaySdlerModel::DrawCell(int col, int row) const {
    CellStyle s;
    s.Align = CellAlign::Center;
    s.Text = Grid.Cells(col, row);
    if (EndsWith(s.Text, "*")) {
        s.Text.pop_back();
        s.FontColor = kRed;
    }
    // The title row stands for no hour, also in the hour before work begins.
    if (row >= 1 && targetDate_ == clock_().Date && stWorkTime_ - 1 + row == hour_) {
        s.Background = timeColor_;
        s.FontColor = kNavy;
    }
    return s;
}

DaySdlerModel::CellSize DaySdlerModel::WMSize(int width, int height, int rows) {
    if (rows < 1) rows = 1;
    return {width / kCols, height / rows};
}

} // namespace components
