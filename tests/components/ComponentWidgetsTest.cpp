// The components on Qt's offscreen platform: clicks, keys, focus and painted pixels.
#include "components/ClorCalendar.h"
#include "components/ComponentWidgetFixture.h"
#include "components/ComponentsDemo.h"
#include "components/DaySdler.h"
#include "components/DgitClock.h"
#include "components/NumberEdit.h"
#include "components/Register.h"
#include "support/TempDir.h"

#include <QImage>
#include <QTimer>

#include <fstream>
#include <set>

TEST_F(ComponentWidgetsTest, CalendarTurnsThePageOnAClickOrAKeyOnAGreyDay) {
    auto* cal = new TClorCalendar(&host, clock.fn());
    cal->resize(350, 280);
    cal->SetStartOfWeek(7);
    int changes = 0;
    QObject::connect(cal, &TClorCalendar::Change, [&] { ++changes; });
    show();
    EXPECT_EQ(cal->currentIndex(), cal->model()->index(2, 3)); // 10 April

    ClickAt(cal->viewport(), cal->visualRect(cal->model()->index(1, 0)).center()); // the grey 31
    EXPECT_EQ(cal->CalendarDate(), Ymd(2024, 3, 31));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(cal->currentIndex(), cal->model()->index(6, 0));
    EXPECT_EQ(cal->model()->index(1, 5).data().toString(), QStringLiteral("1")); // 1 March, a Friday

    PressKey(cal, Qt::Key_Up); // one highlighted day, whatever its weekday
    EXPECT_EQ(cal->CalendarDate(), Ymd(2024, 3, 24));
    // The chosen Sunday is drawn highlighted (its focus frame over it), the one left plain.
    const QColor chosen = cellColour(cal, 0, 5);
    EXPECT_GT(chosen.blue() - chosen.red(), 100) << chosen.name().toStdString();
    EXPECT_EQ(cellColour(cal, 0, 6), QColor(254, 226, 253));
    PressKey(cal, Qt::Key_Down);
    PressKey(cal, Qt::Key_Right); // 1 April stands grey beside it
    EXPECT_EQ(cal->CalendarDate(), Ymd(2024, 4, 1));
    EXPECT_EQ(cal->currentIndex(), cal->model()->index(1, 1));
    PressKey(cal, Qt::Key_Up); // the day names are out of reach
    EXPECT_EQ(cal->CalendarDate(), Ymd(2024, 4, 1));

    // WMSize: seven columns and rows fill the client area, less than a pixel each left over.
    for (int spare : {cal->viewport()->width() - 7 * cal->columnWidth(3),
                      cal->viewport()->height() - 7 * cal->rowHeight(3)})
        EXPECT_TRUE(spare >= 0 && spare < 7) << spare;
    EXPECT_EQ(cellColour(cal, 6, 2), QColor(187, 240, 253)); // Saturday 13 April
    EXPECT_EQ(cellColour(cal, 0, 0), QColor(255, 0, 0));     // the Sunday header
    EXPECT_EQ(cal->model()->index(0, 1).data().toString(), QStringLiteral("月"));
}

TEST_F(ComponentWidgetsTest, ScheduleMarksTheHourAndFollowsItsSettings) {
    auto* day = new TDaySdlerTxt(&host, clock.fn());
    day->resize(240, 400);
    day->SetCells(1, 5, "山田*");
    show();
    EXPECT_EQ(day->Timer()->interval(), 60000);
    EXPECT_TRUE(day->Timer()->isActive());
    EXPECT_EQ(day->Model().Hour(), 10); // the timer's handler ran at once
    EXPECT_EQ(cellColour(day, 0, 3), QColor(0, 255, 255));
    EXPECT_EQ(cellColour(day, 1, 4), day->palette().color(QPalette::Base));
    EXPECT_EQ(day->model()->index(5, 1).data().toString(), QStringLiteral("山田"));
    EXPECT_FALSE(day->model()->flags(day->model()->index(2, 1)) & Qt::ItemIsEditable);

    day->setProperty("WorkHour", 4);
    day->setProperty("TitleA", QStringLiteral("時間"));
    day->setProperty("TimeColor", QColor(255, 255, 0));
    Settle();
    EXPECT_EQ(day->model()->rowCount(), 5);
    EXPECT_EQ(day->model()->index(0, 0).data().toString(), QStringLiteral("時間"));
    const int spare = day->viewport()->height() - 5 * day->rowHeight(4); // every hour in sight, filling it
    EXPECT_TRUE(spare >= 0 && spare < 5) << spare;
    EXPECT_EQ(cellColour(day, 0, 3), QColor(255, 255, 0));
    day->SetTargetDate(Ymd(2024, 4, 9));
    Settle();
    EXPECT_EQ(cellColour(day, 0, 3), day->palette().color(QPalette::Base));
}

TEST_F(ComponentWidgetsTest, ClockShowsTheTimeInLargeTypeSizedToIt) {
    auto* clk = new TDgitClock(&host, clock.fn());
    show();
    EXPECT_EQ(clk->Timer()->interval(), 1000);
    EXPECT_TRUE(clk->Timer()->isActive());
    EXPECT_EQ(clk->font().pointSize(), 20);
    clock.set(Ymd(2024, 4, 10), 9, 5, 3);
    clk->ShowTime();
    EXPECT_EQ(clk->text(), QStringLiteral("09:05:03"));
    EXPECT_EQ(clk->size(), clk->sizeHint());
}

TEST_F(ComponentWidgetsTest, NumberEditTakesDigitsAndShowsTheAmountAway) {
    auto* edit = new TNumberEdit(&host);
    show();
    edit->clearFocus(); // the amount as it stands away from the box
    EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    edit->SetComma(true);
    edit->SetYen(true);
    edit->SetValue(1234567);
    EXPECT_EQ(edit->text(), QStringLiteral("¥1,234,567"));
    edit->SetValue(-1234);
    EXPECT_EQ(edit->GetText(), "¥-1,234");
    edit->SetText("1,234");
    EXPECT_EQ(std::pair(edit->Value(), edit->GetText()), std::pair(0, std::string("¥0")));

    edit->SetValue(1234567);
    focus(edit, QEvent::FocusIn);
    EXPECT_EQ(edit->text(), QStringLiteral("1234567"));
    PressEnter(edit);
    EXPECT_EQ(edit->text(), QStringLiteral("1234567"));
    edit->selectAll();
    TypeText(edit, QStringLiteral("12a3"));
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    focus(edit, QEvent::FocusOut);
    EXPECT_EQ(std::pair(edit->Value(), edit->text()), std::pair(123, QStringLiteral("¥123")));

    focus(edit, QEvent::FocusIn);
    edit->selectAll();
    PressKey(edit, Qt::Key_Backspace, QStringLiteral("\b"));
    focus(edit, QEvent::FocusOut);
    EXPECT_EQ(std::pair(edit->Value(), edit->text()), std::pair(0, QStringLiteral("¥0")));

    edit->setProperty("Yen", false);
    edit->setProperty("Comma", false);
    edit->setProperty("Value", 1234567);
    EXPECT_EQ(edit->property("Text").toString(), QStringLiteral("1234567"));
}

TEST_F(ComponentWidgetsTest, RegistryOffersTheFourClassesUnderSamples) {
    RegisterAll();
    RegisterAll();
    EXPECT_EQ(RegisteredClasses("Samples"),
              (std::vector<std::string>{"TClorCalendar", "TDaySdlerTxt", "TDgitClock", "TNumberEdit"}));
    EXPECT_TRUE(RegisteredClasses("Standard").empty());
    std::unique_ptr<QWidget> made(CreateComponent("TNumberEdit"));
    EXPECT_TRUE(qobject_cast<TNumberEdit*>(made.get()));
    made.reset(CreateComponent("TDaySdlerTxt"));
    EXPECT_TRUE(qobject_cast<TDaySdlerTxt*>(made.get()));
    EXPECT_EQ(CreateComponent("TCalendar"), nullptr);
}

TEST_F(ComponentWidgetsTest, DemoWritesAPictureOfEachComponent) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteDemoShots(dir.path() / "shots", error)) << error;
    for (const char* name : kDemoShots) {
        QImage image(QString::fromStdString((dir.path() / "shots" / name).string()));
        ASSERT_FALSE(image.isNull()) << name;
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 5u) << name;
    }
    // A file where the folder should be: a message, no pictures.
    std::ofstream(dir.path() / "taken") << "x";
    EXPECT_FALSE(WriteDemoShots(dir.path() / "taken", error));
    EXPECT_NE(error.find("taken"), std::string::npos);
}
