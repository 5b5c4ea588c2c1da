#pragma once
// The components on Qt's offscreen platform: a host window at a fixed clock, keys and
// the pointer as an X server sends them, and the colours painted in a cell.
#include "components/ComponentGrid.h"
#include "components/SetClock.h"
#include "gui/GuiTestApp.h"

#include <QFocusEvent>
#include <QLocale>
#include <QTest>

#include <initializer_list>
#include <utility>
#include <vector>

using namespace components;

// A key with the text and modifiers a real X server gives it: Delete carries the
// character DEL, Tab a tab, Shift+Tab arrives as Backtab with Shift and no text.
struct XKey {
    Qt::Key Key;
    const char* Text = "";
    Qt::KeyboardModifiers Mods = Qt::NoModifier;
};
inline const XKey kDelete{Qt::Key_Delete, "\x7f"};
inline const XKey kKeypadDelete{Qt::Key_Delete, "", Qt::KeypadModifier};
inline const XKey kBackspace{Qt::Key_Backspace, "\b"};
inline const XKey kTab{Qt::Key_Tab, "\t"};
inline const XKey kBacktab{Qt::Key_Backtab, "", Qt::ShiftModifier};
inline const XKey kSpace{Qt::Key_Space, " "};
inline const XKey kHome{Qt::Key_Home}, kEnd{Qt::Key_End}, kLeft{Qt::Key_Left}, kRight{Qt::Key_Right},
    kDown{Qt::Key_Down};
inline XKey Digit(char d) {
    static const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return {static_cast<Qt::Key>(Qt::Key_0 + (d - '0')), digits[d - '0']};
}

class ComponentWidgetsTest : public GuiTest {
  protected:
    SetClock clock;
    QWidget host;

    QLocale before;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        clock.set(Ymd(2024, 4, 10), 10, 30, 0);
        host.resize(400, 400);
    }
    void TearDown() override { QLocale::setDefault(before); }
    void show() {
        host.show();
        Settle();
    }
    // Shown as the active window, so that focus moves and keys reach the focused control.
    void activate() {
        show();
        host.activateWindow();
        ASSERT_TRUE(WaitFor([&] { return host.isActiveWindow(); }));
    }
    // Keys pressed and released at the window, one after the other with no event-loop
    // turn between them: each lands where the keys before it left the focus.
    void typeKeys(std::initializer_list<XKey> keys) {
        for (const XKey& k : keys)
            QTest::sendKeyEvent(QTest::Click, host.windowHandle(), k.Key, QString::fromLatin1(k.Text),
                                k.Mods);
    }
    // The pointer through the window, as a real one's events arrive (a double click's
    // second press comes as a double click): pressed at the first cell (col, row), moved
    // with the button held over the others, released at the last.
    using Cell = std::pair<int, int>;
    QPoint atCell(ComponentGrid* grid, Cell c) {
        return grid->viewport()->mapTo(&host,
                                       grid->visualRect(grid->model()->index(c.second, c.first)).center());
    }
    void drag(ComponentGrid* grid, const std::vector<Cell>& cells, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(host.windowHandle(), button, {}, atCell(grid, cells.front()));
        for (const Cell& c : cells)
            QTest::mouseMove(host.windowHandle(), atCell(grid, c));
        QTest::mouseRelease(host.windowHandle(), button, {}, atCell(grid, cells.back()));
    }
    void doubleClick(ComponentGrid* grid, Cell c) {
        QTest::mouseDClick(host.windowHandle(), Qt::LeftButton, {}, atCell(grid, c));
    }
    // The colour painted inside a cell, away from its text and lines.
    static QColor cellColour(ComponentGrid* grid, int col, int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, col));
        return grid->viewport()->grab().toImage().pixelColor(r.topLeft() + QPoint(5, 5));
    }
    // The colour of a cell's text: the pixel farthest from the cell's background.
    static QColor inkColour(ComponentGrid* grid, int col, int row) {
        const QRect r = grid->visualRect(grid->model()->index(row, col)).adjusted(3, 3, -3, -3);
        const QImage image = grid->viewport()->grab().toImage();
        const QColor back = image.pixelColor(r.topLeft());
        QColor ink = back;
        int far = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const int d = std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
                              std::abs(c.blue() - back.blue());
                if (d > far) {
                    far = d;
                    ink = c;
                }
            }
        return ink;
    }
    static void focus(QWidget* w, QEvent::Type type) {
        QFocusEvent e(type);
        QApplication::sendEvent(w, &e);
    }
};
