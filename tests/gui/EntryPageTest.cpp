#include "gui/MainWindowFixture.h"
#include "gui/UpDownBox.h"

#include <QInputMethodEvent>

class EntryPageTest : public MainWindowTest {
protected:
    StringGrid& teams() { return form().TeamEntryGrid; }

    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        form().SankaSpinNum.SetValue(3);
        openRace();
        form().MainPage.ShowPage(1);
        Settle();
    }

    static void SendInputMethod(QWidget* w, const QString& preedit, const QString& commit = {}) {
        QInputMethodEvent e(preedit, {});
        if (!commit.isEmpty()) e.setCommitString(commit);
        QApplication::sendEvent(w, &e);
    }
};

// Each key empties the class cell first, also while the cell's editor is open.
TEST_F(EntryPageTest, TheClassColumnHoldsOneUpperCaseLetter) {
    GridView* view = grid(teams());
    clickCell(teams(), 5, 1);
    EXPECT_EQ(teams().Col(), 5);
    PressKey(view, Qt::Key_A, "a");
    ASSERT_NE(view->editor(), nullptr);
    EXPECT_FALSE(view->editor()->testAttribute(Qt::WA_InputMethodEnabled)); // the class takes no kana
    EXPECT_EQ(teams().Cells(5, 1), "A");
    TypeText(view->editor(), "b");
    EXPECT_EQ(teams().Cells(5, 1), "B");
    TypeText(view->editor(), "1");
    EXPECT_EQ(teams().Cells(5, 1), "");

    PressEnter(view->editor());
    clickCell(teams(), 2, 2); // ﾌﾘｶﾞﾅ: the input method comes back on
    EXPECT_TRUE(view->testAttribute(Qt::WA_InputMethodEnabled));
}

// The form saves the teams before the shown team changes and loads the new one after.
TEST_F(EntryPageTest, TheUpDownChangesTheShownTeam) {
    form().EntryTab.SetActivePageIndex(1);
    auto* box = window->findChild<UpDownBox*>("TeamUpDown");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    PressKey(box, Qt::Key_Up);
    EXPECT_EQ(form().TeamUpDown.Value(), 2);
    EXPECT_EQ(form().CurrTeamNo, 2);
    EXPECT_EQ(teams().CurRow(), 2);
    EXPECT_EQ(box->value(), 2);
}

TEST_F(EntryPageTest, ClickingTheNumberColumnMarksRows) {
    clickCell(teams(), 0, 2);
    clickCell(teams(), 0, 3);
    EXPECT_EQ(form().MarkedRowA, 2);
    EXPECT_EQ(form().MarkedRowB, 3);
    EXPECT_TRUE(form().swaprows.Enabled());
    clickCell(teams(), 0, 3, Qt::RightButton); // the pop-up's button: no marking
    EXPECT_EQ(form().MarkedRowB, 3);
}

// The input method's reading before conversion goes into the furigana column.
TEST_F(EntryPageTest, TheReadingOfATeamNameGoesIntoItsFurigana) {
    form().useFuriganaCTR = true;
    GridView* view = grid(teams());
    teams().SetCurrent(1, 2);
    form().SetFocus(teams());
    SendInputMethod(view, QStringLiteral("か")); // opens the editor
    ASSERT_NE(view->editor(), nullptr);
    SendInputMethod(view->editor(), QStringLiteral("かな"));
    SendInputMethod(view->editor(), QStringLiteral("仮名"));
    SendInputMethod(view->editor(), {}, QStringLiteral("仮名"));
    EXPECT_EQ(teams().Cells(1, 2), "仮名");
    EXPECT_EQ(teams().Cells(2, 2), "ｶﾅ");
}
