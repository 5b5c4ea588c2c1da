#pragma once
// The colour month calendar without Qt: the shown date, the 7 x 7 layout of its month
// (row 0 the day names, rows 1..6 the weeks), the click rule and the cell colours.
#include "components/ComponentTypes.h"
#include "platform/Signal.h"
#include "platform/StringGrid.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace components {

class CalendarModel {
  public:
    static constexpr int kCols = 7, kRows = 7;

    explicit CalendarModel(std::chrono::year_month_day today);

    std::chrono::year_month_day CalendarDate() const { return date_; }
    // A date that does not exist changes nothing.
    void SetCalendarDate(std::chrono::year_month_day date);
    // 1 year, 2 month, 3 day; another index gives -1.
    int GetDateElement(int index) const;
    // A value <= 0 (or a year past 9999, a month past 12) changes nothing; a day the
    // month lacks gives the first of that month.
    void SetDateElement(int index, int value);
    // The day number shown at (col, row) of the week rows; outside is 0 for a day of
    // the shown month, 1 for the next month, -1 for the previous one.
    int DayNum(int col, int row, int& outside);
    // The same without touching DirectSw.
    int DayAt(int col, int row, int& outside) const;
    static int DaysPerMonth(int year, int month);
    void NextMonth() { moveMonths(1); }
    void PrevMonth() { moveMonths(-1); }
    void NextYear() { moveMonths(12); }
    void PrevYear() { moveMonths(-12); }
    // The current cell was chosen: its day becomes the shown date, also a grey one.
    // A grey day beyond years 1..9999 changes nothing; the current cell goes back.
    void Click();

    int GetStartOfWeek() const { return startOfWeek_; }
    // 1 = the first column is Monday .. 7 = Sunday; clamped into 1..7.
    void SetStartOfWeek(int value);
    bool GetDirectSw() const { return directSw_; }
    void SetDirectSw(bool value) { directSw_ = value; }

    // Lays the month out again and puts the current cell on the shown day.
    void UpdateCalendar();
    void Change() { OnChange(); }
    // Whether the current cell may move there (the day-name row is out of reach).
    bool SelectCell(int col, int row) const;
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCurrent(int col, int row);

    // The day names, index 0 Sunday; each is cut to its first two Shift-JIS bytes
    // (one kanji, or two letters).
    void SetDayNames(const std::array<std::string, 7>& names);
    // What the painter draws in a cell (text centred).
    CellStyle DrawCell(int col, int row) const;
    std::string CellText(int col, int row) const { return DrawCell(col, row).Text; }
    struct CellSize {
        int ColWidth, RowHeight;
    };
    // Seven columns and rows share the client area; each cell holds its own grid line.
    static CellSize WMSize(int width, int height);

    Signal<> OnChange;  // the shown date was set
    Signal<> OnUpdated; // layout or current cell moved: repaint

  private:
    // False when the month would leave years 1..9999 (the date stays).
    bool moveMonths(int months);
    int weekdayOf(int col) const { return (startOfWeek_ + col) % 7; } // 0 Sunday

    std::chrono::year_month_day date_;
    int startOfWeek_ = 1;
    bool directSw_ = false;
    int monthOffset_ = 1; // the day number in column 0 of row 1
    int col_ = 0, row_ = 1;
    std::array<std::string, 7> dayNames_{};
};

} // namespace components
