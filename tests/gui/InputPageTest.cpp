#include "gui/MainWindowFixture.h"
#include "mainwindow/TFormKuriage.h"

#include <QImage>

// The input page with three legs and four teams, as the user types into it.
class InputPageTest : public MainWindowTest {
protected:
    StringGrid& in() { return form().InputGrid; }

    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        form().KukanSpinNum.SetValue(3);
        form().SankaSpinNum.SetValue(4);
        openRace();
        form().EntryTeamNum = form().TeamNum;
        form().MainPage.ShowPage(2);
        Settle();
    }
};

TEST_F(InputPageTest, TypingGoesThroughTheInputHandler) {
    GridView* view = grid(in());
    in().SetCurrent(2, 2); // leg 1, first passing
    PressKey(view, Qt::Key_A, "a");
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(in().Cells(2, 2), "");

    PressKey(view, Qt::Key_9, "9");
    ASSERT_NE(view->editor(), nullptr);
    TypeText(view->editor(), "3x512");
    EXPECT_EQ(in().Cells(2, 2), "93512");
    EXPECT_TRUE(in().Modified());
    PressEnter(view->editor());
    EXPECT_EQ(in().CurRow(), 3); // the first passing has nothing above to complete from
    EXPECT_EQ(in().Cells(2, 2), "93512");

    // A short time takes the leading digits of the one above.
    typeCell(in(), 2, 3, "40");
    EXPECT_EQ(in().Cells(2, 3), "93540");
    EXPECT_EQ(in().CurRow(), 4);
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(view->model()->index(3, 2).data().toString(), QStringLiteral("93540"));
}

// A full cell takes a new text; Right at the end of the text and Tab move on; Enter on
// the last row ends the edit; Escape puts the cell back.
TEST_F(InputPageTest, FullCellsArrowsTabAndTheLastRow) {
    GridView* view = grid(in());
    in().SetCells(2, 3, "9999999");
    in().SetCurrent(2, 3);
    PressKey(view, Qt::Key_4, "4");
    ASSERT_NE(view->editor(), nullptr);
    EXPECT_EQ(in().Cells(2, 3), "4");
    PressKey(view->editor(), Qt::Key_Escape);
    EXPECT_EQ(in().Cells(2, 3), "9999999");

    in().SetCurrent(1, 2);
    PressKey(view, Qt::Key_7, "7");
    ASSERT_NE(view->editor(), nullptr);
    PressKey(view->editor(), Qt::Key_Right);
    EXPECT_EQ(in().Col(), 2);
    EXPECT_EQ(in().Cells(1, 2), "7");
    PressKey(view, Qt::Key_Tab, "\t");
    EXPECT_EQ(in().Col(), 3);

    const int last = in().RowCount() - 1;
    in().SetCurrent(3, last);
    PressKey(view, Qt::Key_5, "5");
    ASSERT_NE(view->editor(), nullptr);
    PressEnter(view->editor());
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(in().CurRow(), last);
    EXPECT_EQ(in().Cells(3, last), "5");
}

// Leaving a typed time by an arrow or a click completes and checks it as Enter does.
TEST_F(InputPageTest, LeavingATimeCellCompletesIt) {
    GridView* view = grid(in());
    typeCell(in(), 2, 2, "93512");
    auto typeAndLeave = [&](int row, const char* digits, const std::function<void()>& leave) {
        in().SetCurrent(2, row);
        PressKey(view, static_cast<int>(digits[0]), QString(QChar(digits[0])));
        ASSERT_NE(view->editor(), nullptr);
        TypeText(view->editor(), QString::fromLatin1(digits + 1));
        leave();
        Settle();
    };
    typeAndLeave(3, "40", [&] { PressKey(view->editor(), Qt::Key_Down); });
    EXPECT_EQ(in().Cells(2, 3), "93540");
    EXPECT_EQ(in().CurRow(), 4);
    typeAndLeave(4, "10", [&] { clickCell(in(), 1, 2); });
    EXPECT_EQ(in().Cells(2, 4), "93510");
    EXPECT_EQ(dialogs.Texts().back(), "ﾀｲﾑ確認要！"); // earlier than the time above
    EXPECT_EQ(view->model()->index(4, 2).data().toString(), QStringLiteral("93510"));
}

namespace {

bool HasRedPixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) return true;
        }
    return false;
}

} // namespace

TEST_F(InputPageTest, AdvancedStartMarksTheLegTitle) {
    GridView* view = grid(in());
    const QRect title = view->visualRect(view->model()->index(0, 2));
    EXPECT_FALSE(HasRedPixels(view->viewport()->grab(title).toImage()));

    program->formKuriage->KuriageGrid.SetCells(1, 1, "93530"); // relay point 1
    const char* passings[][4] = {{"1", "93512", "3", "104501"}, {"2", "30", "1", "47"}, {"1", "40", "2", "5012"}};
    for (int i = 0; i < 3; ++i) {
        const int row = 2 + i;
        for (int c = 0; c < 4; ++c) typeCell(in(), 1 + c, row, QString::fromUtf8(passings[i][c]));
    }
    EXPECT_EQ(in().Cells(2, 3), "93530");
    EXPECT_EQ(in().Cells(4, 4), "105012");
    Settle();
    EXPECT_TRUE(HasRedPixels(view->viewport()->grab(title).toImage()));
    shot("input-page.png");
}
