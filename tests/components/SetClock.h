#pragma once
// A clock the tests set by hand, for the components that read the time.
#include "components/ComponentTypes.h"

#include <chrono>

struct SetClock {
    components::LocalDateTime now;
    components::ClockFn fn() {
        return [this] { return now; };
    }
    void set(std::chrono::year_month_day date, int h, int m, int s) { now = {date, h, m, s, 0}; }
};

inline std::chrono::year_month_day Ymd(int y, unsigned m, unsigned d) {
    return std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d};
}
