#pragma once
// The digital clock without Qt: what the label shows at each tick of its timer.
#include "components/ComponentTypes.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace components {

class DgitClockModel {
  public:
    explicit DgitClockModel(ClockFn clock) : clock_(std::move(clock)) {}

    // Reads the clock: a new date is stored and decoded, the time always; the caption
    // becomes "hh:mm:ss".
    void ShowTime();
    const std::string& Caption() const { return caption_; }

    std::chrono::year_month_day LastDate() const { return lastDate_; }
    uint16_t Hour() const { return hour_; }
    uint16_t Min() const { return min_; }
    uint16_t Sec() const { return sec_; }
    uint16_t MSec() const { return msec_; }
    uint16_t Year() const { return year_; }
    uint16_t Month() const { return month_; }
    uint16_t Day() const { return day_; }

  private:
    ClockFn clock_;
    std::chrono::year_month_day lastDate_{};
    LocalDateTime lastTime_{};
    uint16_t hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
    uint16_t year_ = 0, month_ = 0, day_ = 0;
    std::string caption_;
};

} // namespace components
