#include "components/ComponentTypes.h"

#include <ctime>

namespace components {

LocalDateTime SystemNow() {
    // One reading for date and time, so that midnight cannot fall between them.
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    localtime_r(&ts.tv_sec, &tm);
    using namespace std::chrono;
    return {year_month_day{year{tm.tm_year + 1900}, month{static_cast<unsigned>(tm.tm_mon + 1)},
                           day{static_cast<unsigned>(tm.tm_mday)}},
            tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ts.tv_nsec / 1000000)};
}

} // namespace components
