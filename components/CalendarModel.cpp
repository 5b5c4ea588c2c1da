// Colour month calendar: layout of the month, date edits, the click rule, cell colours.
#include "components/CalendarModel.h"

#include "platform/Text.h"

namespace components {

namespace {

using namespace std::chrono;

constexpr int kSatBack = Rgb(187, 240, 253);
constexpr int kSunBack = Rgb(254, 226, 253);

// A date the calendar can show: valid and within years 1..9999.
bool showable(year_month_day d) {
    return d.ok() && d.year() >= year{1} && d.year() <= year{9999};
}

year_month_day makeDate(int y, int m, int d) {
    return {year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
}

} // namespace

CalendarModel::CalendarModel(year_month_day today) : date_(today) {
    SetDayNames({"日", "月", "火", "水", "木", "金", "土"});
    UpdateCalendar();
}

void CalendarModel::SetCalendarDate(year_month_day date) {
    if (!showable(date)) return;
    date_ = date;
    UpdateCalendar();
    Change();
}

int CalendarModel::GetDateElement(int index) const {
    switch (index) {
    case 1:
        return static_cast<int>(date_.year());
    case 2:
        return static_cast<int>(static_cast<unsigned>(date_.month()));
    case 3:
        return static_cast<int>(static_cast<unsigned>(date_.day()));
    }
    return -1;
}

void CalendarModel::SetDateElement(int index, int value) {
    if (value <= 0 || index < 1 || index > 3) return;
    int y = GetDateElement(1), m = GetDateElement(2), d = GetDateElement(3);
    (index == 1 ? y : index == 2 ? m : d) = value;
    if (y > 9999 || m > 12) return;
    year_month_day next = makeDate(y, m, d);
    date_ = next.ok() ? next : makeDate(y, m, 1);
    UpdateCalendar();
    Change();
}

int CalendarModel::DaysPerMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    const year_month_day_last last{std::chrono::year{year} /
                                   std::chrono::month{static_cast<unsigned>(month)} / std::chrono::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

int CalendarModel::DayNum(int col, int row, int& outside) {
    const int d = DayAt(col, row, outside);
    directSw_ = outside == 0;
    return d;
}

int CalendarModel::DayAt(int col, int row, int& outside) const {
    const int n = monthOffset_ + col + (row - 1) * 7;
    const int y = GetDateElement(1), m = GetDateElement(2);
    const int days = DaysPerMonth(y, m);
    if (n >= 1 && n <= days) {
        outside = 0;
        return n;
    }
    if (n >= 1) {
        outside = 1;
        return n - days;
    }
    outside = -1;
    return n + (m == 1 ? DaysPerMonth(y - 1, 12) : DaysPerMonth(y, m - 1));
}

bool CalendarModel::moveMonths(int months) {
    const year_month first = date_.year() / date_.month() + std::chrono::months{months};
    if (!showable(first / 1)) return false;
    const day last = year_month_day_last{first / std::chrono::last}.day();
    date_ = first / std::min(date_.day(), last);
    // Called from outside too: the month offset must follow, or DayNum and the next
    // click would read the old month's layout.
    UpdateCalendar();
    return true;
}

void CalendarModel::Click() {
    int outside = 0;
    const int d = DayNum(col_, row_, outside);
    if (outside != 0 && !moveMonths(outside)) {
        UpdateCalendar();
        return;
    }
    SetDateElement(3, d);
}

void CalendarModel::SetStartOfWeek(int value) {
    startOfWeek_ = std::clamp(value, 1, 7);
    UpdateCalendar();
}

void CalendarModel::UpdateCalendar() {
    const year_month_day first = date_.year() / date_.month() / 1;
    const int dayOfWeek =
        static_cast<int>(std::chrono::weekday{sys_days{first}}.c_encoding()) + 1; // 1 = Sunday
    monthOffset_ = 2 - (dayOfWeek - startOfWeek_ + 7) % 7;
    if (monthOffset_ == 2) monthOffset_ = -5; // day 1 would fall before column 0
    const int cell = GetDateElement(3) - monthOffset_;
    col_ = cell % 7;
    row_ = cell / 7 + 1;
    OnUpdated();
}

bool CalendarModel::SelectCell(int col, int row) const {
    return col >= 0 && col < kCols && row >= 1 && row < kRows;
}

void CalendarModel::SetCurrent(int col, int row) {
    if (!SelectCell(col, row)) return;
    col_ = col;
    row_ = row;
}

void CalendarModel::SetDayNames(const std::array<std::string, 7>& names) {
    for (int i = 0; i < 7; ++i)
        dayNames_[i] = CutSjis(names[i], 2);
    OnUpdated();
}

CellStyle CalendarModel::DrawCell(int col, int row) const {
    CellStyle s;
    s.Align = CellAlign::Center;
    const int w = weekdayOf(col);
    if (row == 0) {
        s.Text = dayNames_[w];
        if (w == 6) s.Background = kAqua;
        if (w == 0) s.Background = kRed;
        return s;
    }
    int outside = 0;
    s.Text = IntToStr(DayAt(col, row, outside));
    if (w == 6) {
        s.Background = kSatBack;
        s.FontColor = kBlue;
    }
    if (w == 0) {
        s.Background = kSunBack;
        s.FontColor = kRed;
    }
    if (outside != 0) s.FontColor = kSilver;
    return s;
}

CalendarModel::CellSize CalendarModel::WMSize(int width, int height) {
    return {width / kCols, height / kRows};
}

} // namespace components
