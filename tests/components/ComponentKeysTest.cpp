// The components under a keyboard as an X server drives it, values set by code while
// the user edits, and the grids' colours and options as a designer sees them.
#include "components/ClorCalendar.h"
#include "components/ComponentWidgetFixture.h"
#include "components/DaySdler.h"
#include "components/NumberEdit.h"

#include <QLineEdit>
#include <QMetaProperty>
#include <QVBoxLayout>

#include <functional>

namespace {

// A control before and after the one under test, for the focus to go to.
class ComponentKeysTest : public ComponentWidgetsTest {
  protected:
    QLineEdit* before = nullptr;
    QLineEdit* after = nullptr;
    template <class W> W* between(W* w) {
        before = new QLineEdit(&host);
        after = new QLineEdit(&host);
        auto* layout = new QVBoxLayout(&host);
        for (QWidget* each :
             {static_cast<QWidget*>(before), static_cast<QWidget*>(w), static_cast<QWidget*>(after)})
            layout->addWidget(each);
        QWidget::setTabOrder(before, w);
        QWidget::setTabOrder(w, after);
        return w;
    }
    ComponentGrid* makeGrid(bool calendar) {
        if (calendar) return new TClorCalendar(&host, clock.fn());
        return new TDaySdlerTxt(&host, clock.fn());
    }
    void clearHost() {
        delete host.layout();
        qDeleteAll(host.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    }
};

} // namespace

TEST_F(ComponentKeysTest, NumberEditTakesTheEditingKeysWhateverTextTheyCarry) {
    struct Case { // an aggregate, so the key lists live as long as the table
        std::initializer_list<XKey> keys;
        const char* value;
    };
    const Case cases[] = {
        {{kHome, kDelete, kKeypadDelete}, "345"},
        {{kEnd, kBackspace, kLeft, kLeft, kDelete}, "124"},
        {{kHome, kRight, {Qt::Key_A, "a"}, {Qt::Key_Return, "\r"}, Digit('9')}, "192345"},
    };
    auto* edit = between(new TNumberEdit(&host));
    activate();
    for (const auto& [keys, value] : cases) {
        edit->SetValue(12345);
        edit->setFocus();
        typeKeys(keys);
        after->setFocus();
        EXPECT_EQ(edit->Value(), std::stoi(value)) << value;
    }
}

TEST_F(ComponentKeysTest, NumberEditKeepsWhatCodeSetsInsideOrOutsideTheBox) {
    struct Case {
        bool focused;
        std::function<void(TNumberEdit*)> set;
        const char* shown; // in the box right after
        int value;         // after leaving
        const char* left;
    };
    const Case cases[] = {
        {true, [](TNumberEdit* e) { e->SetValue(4200); }, "4200", 4200, "¥4,200"},
        {true, [](TNumberEdit* e) { e->SetComma(false); }, "1500", 1500, "¥1500"},
        {true, [](TNumberEdit* e) { e->setText("4200"); }, "4200", 4200, "¥4,200"},
        {true, [](TNumberEdit* e) { e->clear(); }, "0", 0, "¥0"},
        {false, [](TNumberEdit* e) { e->setText("4200"); }, "¥4,200", 4200, "¥4,200"},
    };
    auto* edit = between(new TNumberEdit(&host));
    activate();
    for (const Case& c : cases) {
        edit->SetComma(true);
        edit->SetYen(true);
        edit->SetValue(1500);
        if (c.focused) edit->setFocus();
        c.set(edit);
        EXPECT_EQ(std::pair(edit->text(), edit->GetText()),
                  std::pair(QString::fromUtf8(c.shown), std::string(c.shown)));
        after->setFocus();
        EXPECT_EQ(std::pair(edit->Value(), edit->text()), std::pair(c.value, QString::fromUtf8(c.left)));
    }
}

TEST_F(ComponentKeysTest, TabLeavesEitherGridAndChangesNothing) {
    struct Case {
        bool calendar;
        XKey key;
        bool typedFirst; // a digit typed into the schedule's current cell before Tab
    };
    const Case cases[] = {{true, kTab, false},      {true, kBacktab, false}, {false, kTab, false},
                          {false, kBacktab, false}, {false, kTab, true},     {false, kBacktab, true}};
    for (const Case& c : cases) {
        clearHost();
        ComponentGrid* grid = between(makeGrid(c.calendar));
        int changes = 0;
        if (auto* cal = qobject_cast<TClorCalendar*>(grid))
            QObject::connect(cal, &TClorCalendar::Change, [&] { ++changes; });
        if (!c.calendar) grid->SetOptions({.Editing = true}); // typing edits the schedule
        activate();
        grid->setFocus();
        if (!c.calendar) grid->setCurrentIndex(grid->model()->index(2, 1));
        const QModelIndex current = grid->currentIndex();
        const std::string text = grid->CellText(current.column(), current.row());
        if (c.typedFirst) typeKeys({Digit('7')});
        typeKeys({c.key, Digit('5')}); // the digit lands where Tab went
        const std::string what =
            std::to_string(c.calendar) + " " + std::to_string(c.key.Key) + (c.typedFirst ? " typed" : "");
        QLineEdit* target = c.key.Key == Qt::Key_Tab ? after : before;
        EXPECT_TRUE(target->hasFocus()) << what;
        EXPECT_EQ(target->text(), "5") << what;
        EXPECT_EQ(grid->currentIndex(), current) << what;
        EXPECT_EQ(grid->CellText(current.column(), current.row()), c.typedFirst ? "7" : text) << what;
        for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            EXPECT_FALSE(editor->isVisible()) << what;
        EXPECT_EQ(changes, 0);
        if (c.calendar) {
            EXPECT_EQ(static_cast<TClorCalendar*>(grid)->CalendarDate(), Ymd(2024, 4, 10));
        }
    }
}

TEST_F(ComponentKeysTest, ScheduleColoursHoldUnderTheSelectionWithOrWithoutFocus) {
    const QColor aqua(0, 255, 255), navy(0, 0, 128), red(255, 0, 0);
    struct Case {
        int col, row; // the current cell; row 3 is 10 - 11, the current hour
        bool focused;
        QColor back, ink;
    };
    auto* day = between(new TDaySdlerTxt(&host, clock.fn()));
    day->SetCells(1, 3, "佐藤");
    day->SetCells(1, 5, "山田*");
    activate();
    const QColor highlight = day->palette().color(QPalette::Highlight);
    const QColor highlightText = day->palette().color(QPalette::HighlightedText);
    const QColor base = day->palette().color(QPalette::Base);
    const Case cases[] = {
        {1, 3, false, aqua, navy},
        {0, 3, true, aqua, navy},
        {1, 5, false, highlight, red},
        {0, 4, false, highlight, highlightText},
        {0, 4, true, base, day->palette().color(QPalette::Text)},
    };
    for (const Case& c : cases) {
        day->setCurrentIndex(day->model()->index(c.row, c.col));
        (c.focused ? static_cast<QWidget*>(day) : after)->setFocus();
        Settle();
        const std::string where =
            std::to_string(c.col) + "," + std::to_string(c.row) + (c.focused ? " focused" : "");
        EXPECT_EQ(cellColour(day, c.col, c.row), c.back) << where;
        const QColor ink = inkColour(day, c.col, c.row);
        EXPECT_LT(std::abs(ink.red() - c.ink.red()) + std::abs(ink.green() - c.ink.green()) +
                      std::abs(ink.blue() - c.ink.blue()),
                  60)
            << where << " " << ink.name().toStdString();
        EXPECT_EQ(cellColour(day, 0, 3), aqua) << where; // the hour stays marked
    }
}

TEST_F(ComponentKeysTest, CalendarTakesNoGreyDayBeyondItsYears) {
    struct Case {
        std::chrono::year_month_day date;
        int startOfWeek, col, row; // a grey cell outside years 1..9999
        bool byKey;                // reached by an arrow key from the shown day, not a click
    };
    const Case cases[] = {
        {Ymd(9999, 12, 20), 1, 6, 6, false}, // the grey 9 of January 10000
        {Ymd(9999, 12, 25), 1, 5, 5, true},  // down from Christmas to 1 January 10000
        {Ymd(1, 1, 1), 7, 0, 1, false},      // 31 December of year 0
        {Ymd(1, 1, 1), 7, 0, 1, true},
    };
    auto* cal = between(new TClorCalendar(&host, clock.fn()));
    cal->resize(350, 280);
    int changes = 0;
    QObject::connect(cal, &TClorCalendar::Change, [&] { ++changes; });
    activate();
    for (const Case& c : cases) {
        cal->SetStartOfWeek(c.startOfWeek);
        cal->SetCalendarDate(c.date);
        changes = 0;
        const QModelIndex shown = cal->currentIndex();
        if (c.byKey) {
            cal->setFocus();
            typeKeys({c.row > shown.row() ? kDown : c.col > shown.column() ? kRight : kLeft});
        } else {
            ClickAt(cal->viewport(), cal->visualRect(cal->model()->index(c.row, c.col)).center());
        }
        EXPECT_EQ(cal->CalendarDate(), c.date);
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(cal->currentIndex(), shown);
    }
}

TEST_F(ComponentKeysTest, ScheduleOptionsArePublishedAsFlags) {
    auto* day = new TDaySdlerTxt(&host, clock.fn());
    const QMetaProperty options = day->metaObject()->property(day->metaObject()->indexOfProperty("Options"));
    EXPECT_EQ(options.enumerator().valueToKeys(day->property("Options").toInt()), "Lines");
    using Set = ComponentGrid::GridOptionSet;
    for (const Set set : {Set(ComponentGrid::Lines | ComponentGrid::Editing | ComponentGrid::RowSelect),
                          Set(ComponentGrid::RangeSelect | ComponentGrid::DrawFocusSelected), Set()}) {
        ASSERT_TRUE(day->setProperty("Options", QVariant::fromValue(set)));
        EXPECT_EQ(day->property("Options").value<Set>(), set);
        EXPECT_EQ(std::tuple(day->showGrid(), day->selectionMode() == QAbstractItemView::ExtendedSelection,
                             day->Options().DrawFocusSelected,
                             day->selectionBehavior() == QAbstractItemView::SelectRows,
                             bool(day->model()->flags(day->model()->index(2, 1)) & Qt::ItemIsEditable)),
                  std::tuple(set.testFlag(ComponentGrid::Lines), set.testFlag(ComponentGrid::RangeSelect),
                             set.testFlag(ComponentGrid::DrawFocusSelected),
                             set.testFlag(ComponentGrid::RowSelect), set.testFlag(ComponentGrid::Editing)));
    }
}
