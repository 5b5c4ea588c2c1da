#include "components/ClorCalendar.h"

#include "components/Register.h"
#include "gui/QtText.h"

#include <QLocale>
#include <QMouseEvent>
#include <QPointer>

namespace components {

TClorCalendar::TClorCalendar(QWidget* parent, const ClockFn& clock)
    : ComponentGrid(parent), model_(clock().Date) {
    // Qt numbers the days 1 = Monday .. 7 = Sunday; the model wants Sunday first.
    std::array<std::string, 7> names;
    for (int w = 0; w < 7; ++w)
        names[w] = ss(QLocale().dayName(w == 0 ? 7 : w, QLocale::ShortFormat));
    model_.SetDayNames(names);
    // The calendar's current cell is the shown day alone: no selection of its own.
    SelectCurrentOnly();
    GridOptions options;
    options.DrawFocusSelected = true;
    SetOptions(options);
    QPointer<TClorCalendar> self(this);
    model_.OnUpdated.connect([self] {
        if (!self) return;
        self->ShowCurrent(self->model_.Col(), self->model_.Row());
        self->Refresh();
    });
    model_.OnChange.connect([self] {
        if (self) emit self->Change();
    });
    Refresh();
    ShowCurrent(model_.Col(), model_.Row());
}

void TClorCalendar::CurrentMoved(int col, int row) {
    if (!model_.SelectCell(col, row)) {
        ShowCurrent(model_.Col(), model_.Row());
        return;
    }
    model_.SetCurrent(col, row);
    model_.Click();
}

void TClorCalendar::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton) return;
    const QModelIndex at = indexAt(e->position().toPoint());
    // Also the shown day itself: every click is one Change, as the keys' moves are.
    if (at.isValid()) CurrentMoved(at.column(), at.row());
}

void TClorCalendar::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() == Qt::NoButton) return ComponentGrid::mouseMoveEvent(e); // hover
    e->accept();
}

void TClorCalendar::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
}

void TClorCalendar::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

void TClorCalendar::WMSize(int width, int height) {
    const CalendarModel::CellSize size = CalendarModel::WMSize(width, height);
    SetCellSize(size.ColWidth, size.RowHeight);
}

namespace ClorCalendar {
void Register() {
    RegisterComponents("Samples", {{"TClorCalendar", [](QWidget* p) { return new TClorCalendar(p); }}});
}
} // namespace ClorCalendar

} // namespace components
