#pragma once
// TClorCalendar: a month calendar in a 7 x 7 grid, the day names in the fixed row,
// Saturdays blue and Sundays red, the days of the neighbouring months grey. A click of
// the left button (or a key that moves the current cell) makes that day the shown date.
#include "components/CalendarModel.h"
#include "components/ComponentGrid.h"

namespace components {

class TClorCalendar : public ComponentGrid {
    Q_OBJECT
    Q_PROPERTY(int StartOfWeek READ GetStartOfWeek WRITE SetStartOfWeek)
  public:
    explicit TClorCalendar(QWidget* parent = nullptr, const ClockFn& clock = SystemNow);

    CalendarModel& Model() { return model_; }

    std::chrono::year_month_day CalendarDate() const { return model_.CalendarDate(); }
    void SetCalendarDate(std::chrono::year_month_day date) { model_.SetCalendarDate(date); }
    int GetDateElement(int index) const { return model_.GetDateElement(index); }
    void SetDateElement(int index, int value) { model_.SetDateElement(index, value); }
    int DayNum(int col, int row, int& outside) { return model_.DayNum(col, row, outside); }
    static int DaysPerMonth(int year, int month) { return CalendarModel::DaysPerMonth(year, month); }
    void NextMonth() { model_.NextMonth(); }
    void PrevMonth() { model_.PrevMonth(); }
    void NextYear() { model_.NextYear(); }
    void PrevYear() { model_.PrevYear(); }
    void Click() { model_.Click(); }
    int GetStartOfWeek() const { return model_.GetStartOfWeek(); }
    void SetStartOfWeek(int value) { model_.SetStartOfWeek(value); }
    bool GetDirectSw() const { return model_.GetDirectSw(); }
    void SetDirectSw(bool value) { model_.SetDirectSw(value); }
    void UpdateCalendar() { model_.UpdateCalendar(); }
    bool SelectCell(int col, int row) const { return model_.SelectCell(col, row); }

    CellStyle DrawCell(int col, int row) const override { return model_.DrawCell(col, row); }
    std::string CellText(int col, int row) const override { return model_.CellText(col, row); }

  signals:
    // The shown date was set.
    void Change();

  protected:
    int ColCount() const override { return CalendarModel::kCols; }
    int RowCount() const override { return CalendarModel::kRows; }
    void CurrentMoved(int col, int row) override;
    void WMSize(int width, int height) override;
    // A press of the left button picks the day under it, once. Dragging picks no more
    // (a grey day would turn the page under the pointer), nor do the other buttons or
    // the second press of a double click.
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    CalendarModel model_;
};

namespace ClorCalendar {
// Puts TClorCalendar on the palette page "Samples".
void Register();
} // namespace ClorCalendar

} // namespace components
