// The components under a keyboard as an X server drives it, values set by code while
// the user edits, and the grids' colours and options as a designer sees them.
#include "components/ClorCalendar.h"
#include "components/ComponentWidgetFixture.h"
#include "components/DaySdler.h"
#include "components/NumberEdit.h"
#include "gui/QtText.h"
#include "platform/Text.h"

#include <QLineEdit>
#include <QMetaProperty>
#include <QVBoxLayout>

#include <functional>
#include <map>

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
    // A calendar between the two boxes, its Change events counted into changes.
    TClorCalendar* activeCalendar(int& changes) {
        auto* cal = between(new TClorCalendar(&host, clock.fn()));
        cal->resize(350, 280);
        QObject::connect(cal, &TClorCalendar::Change, [&changes] { ++changes; });
        activate();
        return cal;
    }
    // Clicks and drags on a calendar at 10 April 2024, weeks from Monday: row 1 reads
    // 1..7 April, row 5 ends in the grey 1..5 May, row 6 holds the grey 6..12 May.
    struct Pick {
        Qt::MouseButton button;
        bool doubled;
        std::vector<Cell> path; // pressed, crossed with the button held, released
        std::chrono::year_month_day picked;
        int changes;
    };
    void expectPicks(std::initializer_list<Pick> picks) {
        int changes = 0;
        TClorCalendar* cal = activeCalendar(changes);
        for (const Pick& p : picks) {
            cal->SetCalendarDate(Ymd(2024, 4, 10));
            changes = 0;
            p.doubled ? doubleClick(cal, p.path[0]) : drag(cal, p.path, p.button);
            EXPECT_EQ(std::pair(cal->CalendarDate(), changes), std::pair(p.picked, p.changes))
                << p.button << " " << p.path[0].first << "," << p.path[0].second;
        }
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
    int changes = 0;
    TClorCalendar* cal = activeCalendar(changes);
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

TEST_F(ComponentKeysTest, CalendarDragPicksThePressedDayWithOneChange) {
    const auto L = Qt::LeftButton;
    expectPicks({
        {L, false, {{2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}},
         Ymd(2024, 4, 10), 1},
        {L, false, {{5, 5}, {6, 5}, {6, 6}, {0, 6}, {0, 1}}, Ymd(2024, 5, 4), 1}, // (0, 1): then 29 April
        {L, false, {{0, 1}, {4, 5}, {5, 5}}, Ymd(2024, 4, 1), 1},
        {L, false, {{3, 0}, {3, 3}, {6, 6}}, Ymd(2024, 4, 10), 0}, // pressed on the day names
        {L, true, {{6, 6}}, Ymd(2024, 5, 12), 1},                  // a double click: one page
    });
}

TEST_F(ComponentKeysTest, OnlyTheLeftButtonPicksADay) {
    expectPicks({{Qt::RightButton, false, {{4, 3}}, Ymd(2024, 4, 10), 0},
                 {Qt::MiddleButton, false, {{6, 6}}, Ymd(2024, 4, 10), 0},
                 {Qt::LeftButton, false, {{4, 3}}, Ymd(2024, 4, 19), 1},
                 {Qt::LeftButton, false, {{2, 2}}, Ymd(2024, 4, 10), 1}}); // the shown day again
}

TEST_F(ComponentKeysTest, TypedCharactersMoveNeitherGrid) {
    struct Case {
        bool calendar, editing;
        Cell current;
        std::initializer_list<XKey> keys;
        const char* text; // then in the current cell
    } const cases[] = {
        {true, false, {2, 2}, {Digit('1'), Digit('6')}, "10"}, // a search found 17 April
        {true, false, {2, 2}, {Digit('3'), kSpace}, "10"},     // and 3 April
        {false, false, {0, 1}, {Digit('1'), Digit('2')}, "08 - 09"},
        {false, true, {1, 2}, {Digit('1'), Digit('2'), kTab}, "12"}, // typing still edits
    };
    for (const Case& c : cases) {
        clearHost();
        ComponentGrid* grid = between(makeGrid(c.calendar));
        grid->SetOptions({.Editing = c.editing});
        activate();
        grid->setFocus();
        const QModelIndex current = grid->model()->index(c.current.second, c.current.first);
        grid->setCurrentIndex(current);
        typeKeys(c.keys);
        EXPECT_EQ(grid->currentIndex(), current) << c.calendar << c.editing;
        EXPECT_EQ(current.data().toString(), QString::fromUtf8(c.text)); // the calendar's month too
    }
}

TEST_F(ComponentKeysTest, ScheduleTakesArrowsAndTypingAfterTabFromTheStartAndAfterEachLayout) {
    struct Case {
        Cell chosen; // the current cell before the change; (-1, -1) none chosen
        std::function<void(TDaySdlerTxt*)> change;
        Cell current, typed; // then; where Tab, Right, Down and a digit land
    } const cases[] = {
        {{-1, -1}, [](TDaySdlerTxt*) {}, {0, 1}, {1, 2}},
        {{-1, -1}, [](TDaySdlerTxt* d) { d->SetWorkHour(4); }, {0, 1}, {1, 2}},
        {{1, 10}, [](TDaySdlerTxt* d) { d->SetWorkHour(4); }, {1, 1}, {1, 2}}, // its row is gone
        {{1, 3}, [](TDaySdlerTxt* d) { d->SetWorkHour(20); }, {1, 3}, {1, 4}}, // its row remains
        {{0, 5}, [](TDaySdlerTxt* d) { d->SetStWorkTime(10); }, {0, 5}, {1, 6}},
        {{-1, -1}, [](TDaySdlerTxt* d) { d->setProperty("TitleA", QStringLiteral("時間")); }, {0, 1}, {1, 2}},
        {{-1, -1}, [](TDaySdlerTxt* d) { d->SetTitleEtc(); }, {0, 1}, {1, 2}},
    };
    for (const Case& c : cases) {
        clearHost();
        auto* day = between(new TDaySdlerTxt(&host, clock.fn()));
        day->SetOptions({.Editing = true});
        if (c.chosen.first >= 0) day->setCurrentIndex(day->model()->index(c.chosen.second, c.chosen.first));
        c.change(day);
        activate();
        before->setFocus();
        EXPECT_EQ(day->currentIndex(), day->model()->index(c.current.second, c.current.first))
            << c.current.second;
        typeKeys({kTab, kRight, kDown, Digit('5'), kTab});
        EXPECT_TRUE(after->hasFocus());
        EXPECT_EQ(day->Cells(c.typed.first, c.typed.second), "5") << c.typed.second;
    }
}

TEST_F(ComponentKeysTest, ScheduleSettersKeepTheNamesOfTheRowsThatRemain) {
    struct Case {
        std::function<void(TDaySdlerTxt*)> set;
        const char *titleA, *titleB;
        int stWorkTime, workHour;
        std::map<int, std::string> names; // row -> the name as drawn
    };
    const std::map<int, std::string> all{{1, "佐藤"}, {3, "山田"}, {14, "林"}},
        kept{{1, "佐藤"}, {3, "山田"}};
    const char *a = "予約時間", *b = "患者名";
    const Case cases[] = {
        {[](TDaySdlerTxt* d) { d->setProperty("TitleA", QStringLiteral("時間")); }, "時間", b, 8, 14, all},
        {[](TDaySdlerTxt* d) { d->SetTitleB(QStringLiteral("氏名")); }, a, "氏名", 8, 14, all},
        {[](TDaySdlerTxt* d) { d->setProperty("WorkHour", 3); }, a, b, 8, 3, kept},
        {[](TDaySdlerTxt* d) { d->SetWorkHour(3), d->SetWorkHour(14); }, a, b, 8, 14, kept}, // back empty
        {[](TDaySdlerTxt* d) { d->SetWorkHour(16); }, a, b, 8, 16, all},
        {[](TDaySdlerTxt* d) { d->setProperty("StWorkTime", 9); }, a, b, 9, 14, all},
        {[](TDaySdlerTxt* d) { d->SetTitleEtc(); }, a, b, 8, 14, {}}, // as when built
    };
    for (const Case& c : cases) {
        clearHost();
        auto* day = between(new TDaySdlerTxt(&host, clock.fn()));
        for (const auto& [row, name] : std::map<int, std::string>{{1, "佐藤"}, {3, "山田*"}, {14, "林"}})
            day->SetCells(1, row, name);
        c.set(day);
        std::vector<std::vector<std::string>> expected{{c.titleA, c.titleB}}, drawn;
        for (int r = 1; r <= c.workHour; ++r)
            expected.push_back({Format("%02d - %02d", c.stWorkTime - 1 + r, c.stWorkTime + r),
                                c.names.count(r) ? c.names.at(r) : ""});
        for (int r = 0; r < day->model()->rowCount(); ++r)
            drawn.push_back({ss(day->model()->index(r, 0).data().toString()),
                             ss(day->model()->index(r, 1).data().toString())});
        EXPECT_EQ(drawn, expected) << c.titleA << c.titleB << c.stWorkTime << " " << c.workHour;
    }
}
