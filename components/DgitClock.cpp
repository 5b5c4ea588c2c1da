#include "components/DgitClock.h"

#include "components/Register.h"
#include "gui/QtText.h"

#include <QTimer>

namespace components {

TDgitClock::TDgitClock(QWidget* parent, const ClockFn& clock)
    : QLabel(parent), model_(clock), timer_(new QTimer(this)) {
    QFont f = font();
    f.setPointSize(kFontSize);
    setFont(f);
    timer_->setInterval(kTimerInterval);
    connect(timer_, &QTimer::timeout, this, &TDgitClock::ShowTime);
    timer_->start();
}

void TDgitClock::ShowTime() {
    model_.ShowTime();
    const QString caption = qs(model_.Caption());
    if (caption == text()) return;
    setText(caption);
    adjustSize(); // sized to its text
}

namespace DgitClock {
void Register() {
    RegisterComponents("Samples", {{"TDgitClock", [](QWidget* p) { return new TDgitClock(p); }}});
}
} // namespace DgitClock

} // namespace components
