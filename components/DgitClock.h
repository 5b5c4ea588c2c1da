#pragma once
// TDgitClock: a label that shows the time of day, "hh:mm:ss" in 20-point type,
// sized to its text and refreshed every second.
#include "components/DgitClockModel.h"

#include <QLabel>

class QTimer;

namespace components {

class TDgitClock : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kTimerInterval = 1000; // ms
    static constexpr int kFontSize = 20;        // points

    explicit TDgitClock(QWidget* parent = nullptr, const ClockFn& clock = SystemNow);

    DgitClockModel& Model() { return model_; }
    QTimer* Timer() const { return timer_; }
    void ShowTime();

  private:
    DgitClockModel model_;
    QTimer* timer_;
};

namespace DgitClock {
// Puts TDgitClock on the palette page "Samples".
void Register();
} // namespace DgitClock

} // namespace components
