#pragma once
// The day schedule grid without Qt: one row per working hour under a title row,
// the hour rows' texts, and the colours of the current hour on the target date.
#include "components/ComponentTypes.h"
#include "platform/Signal.h"
#include "platform/StringGrid.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace components {

class DaySdlerModel {
  public:
    static constexpr int kCols = 2;

    explicit DaySdlerModel(ClockFn clock);

    // The cells: row 0 the titles, column 0 the hours, column 1 free text; a text
    // ending in "*" is drawn without the mark, in red.
    StringGrid Grid{"DaySdler"};

    uint16_t StWorkTime() const { return stWorkTime_; }
    void SetStWorkTime(uint16_t hour);
    uint16_t WorkHour() const { return workHour_; }
    void SetWorkHour(uint16_t hours);
    const std::string& TitleA() const { return titleA_; }
    void SetTitleA(const std::string& title);
    const std::string& TitleB() const { return titleB_; }
    void SetTitleB(const std::string& title);
    int TimeColor() const { return timeColor_; }
    void SetTimeColor(int color);
    std::chrono::year_month_day TargetDate() const { return targetDate_; }
    void SetTargetDate(std::chrono::year_month_day date);

    // Row count, titles and hour texts from the settings; the free column is emptied
    // (the settings' own setters keep the names).
    void SetTitleEtc();
    // The timer's handler: takes the time when the hour has turned; true when it did.
    bool Tick();
    uint16_t Hour() const { return hour_; }
    uint16_t Min() const { return min_; }
    uint16_t Sec() const { return sec_; }
    uint16_t MSec() const { return msec_; }
    LocalDateTime LastRefresh() const { return lastRefresh_; }

    CellStyle DrawCell(int col, int row) const;
    struct CellSize {
        int ColWidth, RowHeight;
    };
    // The columns and rows share the client area; each cell holds its own grid line.
    static CellSize WMSize(int width, int height, int rows);

    Signal<> OnLayout;  // the rows were laid out again
    Signal<> OnRepaint; // the colours may have changed

  private:
    void layOut(int keptNames);

    ClockFn clock_;
    uint16_t stWorkTime_ = 8;
    uint16_t workHour_ = 14;
    uint16_t hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
    LocalDateTime lastRefresh_{};
    std::string titleA_ = "予約時間";
    std::string titleB_ = "患者名";
    int timeColor_ = kAqua;
    std::chrono::year_month_day targetDate_;
};

} // namespace components
