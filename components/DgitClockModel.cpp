#include "components/DgitClockModel.h"

#include "platform/Text.h"

namespace components {

void DgitClockModel::ShowTime() {
    const LocalDateTime now = clock_();
    if (now.Date != lastDate_) {
        lastDate_ = now.Date;
        year_ = static_cast<uint16_t>(static_cast<int>(now.Date.year()));
        month_ = static_cast<uint16_t>(static_cast<unsigned>(now.Date.month()));
        day_ = static_cast<uint16_t>(static_cast<unsigned>(now.Date.day()));
    }
    lastTime_ = now;
    hour_ = static_cast<uint16_t>(now.Hour);
    min_ = static_cast<uint16_t>(now.Min);
    sec_ = static_cast<uint16_t>(now.Sec);
    msec_ = static_cast<uint16_t>(now.MSec);
    caption_ = Format("%02d:%02d:%02d", hour_, min_, sec_);
}

} // namespace components
