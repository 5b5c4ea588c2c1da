#include "components/DaySdler.h"

#include "components/Register.h"
#include "gui/QtText.h"

#include <QHeaderView>
#include <QPointer>
#include <QTimer>

namespace components {

TDaySdlerTxt::TDaySdlerTxt(QWidget* parent, const ClockFn& clock)
    : ComponentGrid(parent), model_(clock), timer_(new QTimer(this)) {
    // The current hour and the red marks show also on the selected cell.
    KeepCellColours();
    QPointer<TDaySdlerTxt> self(this);
    model_.OnLayout.connect([self] {
        if (!self) return;
        self->Refresh();
        // Without scroll bars every hour must fit: a new row count takes the height again.
        self->ResizeCells();
    });
    model_.OnRepaint.connect([self] {
        if (self) self->viewport()->update();
    });
    model_.Grid.CellChanged.connect([self](int, int) {
        if (self) self->Refresh();
    });
    Refresh();
    const int frame = 2 * frameWidth();
    resize(width(), verticalHeader()->defaultSectionSize() * RowCount() + frame);
    timer_->setInterval(kTimerInterval);
    connect(timer_, &QTimer::timeout, this, [this] { model_.Tick(); });
    model_.Tick();
    timer_->start();
}

QString TDaySdlerTxt::GetTitleA() const {
    return qs(model_.TitleA());
}
void TDaySdlerTxt::SetTitleA(const QString& title) {
    model_.SetTitleA(ss(title));
}
QString TDaySdlerTxt::GetTitleB() const {
    return qs(model_.TitleB());
}
void TDaySdlerTxt::SetTitleB(const QString& title) {
    model_.SetTitleB(ss(title));
}
QColor TDaySdlerTxt::GetTimeColor() const {
    return rgb(model_.TimeColor());
}
void TDaySdlerTxt::SetTimeColor(const QColor& color) {
    model_.SetTimeColor(Rgb(color.red(), color.green(), color.blue()));
}

void TDaySdlerTxt::WMSize(int width, int height) {
    const DaySdlerModel::CellSize size = DaySdlerModel::WMSize(width, height, RowCount());
    SetCellSize(size.ColWidth, size.RowHeight);
}

namespace DaySdler {
void Register() {
    RegisterComponents("Samples", {{"TDaySdlerTxt", [](QWidget* p) { return new TDaySdlerTxt(p); }}});
}
} // namespace DaySdler

} // namespace components
