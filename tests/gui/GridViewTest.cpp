#include "gui/GridView.h"
#include "gui/GuiTestApp.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <string>
#include <vector>

class GridViewTest : public GuiTest {
protected:
    StringGrid grid{"grid"};
    ScriptedDialogs dialogs;
    QWidget host; // destroyed first: the view goes before its grid
    GridView* view = nullptr;

    void SetUp() override {
        CurrentServices().dialogs = &dialogs;
        grid.SetColCount(4);
        grid.SetRowCount(5);
        grid.SetFixedCols(1);
        grid.SetFixedRows(1);
        view = new GridView(grid, &host);
        view->resize(500, 300);
        host.resize(500, 300);
        host.show();
        Settle();
    }
    void TearDown() override { CurrentServices() = Services{}; }

    QModelIndex at(int col, int row) const { return view->model()->index(row, col); }
    QString shown(int col, int row) const { return at(col, row).data().toString(); }

    void click(int col, int row) {
        QPoint p = view->visualRect(at(col, row)).center();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, p, view->viewport()->mapToGlobal(p), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &e);
        }
    }
};

TEST_F(GridViewTest, ShowsCellsAndKeepsFixedCellsOutOfReach) {
    grid.SetCells(2, 3, "abc");
    grid.SetCellsQuiet(1, 0, "title");
    EXPECT_EQ(shown(2, 3), "abc");
    EXPECT_EQ(shown(1, 0), "title");
    EXPECT_EQ(view->model()->flags(at(0, 2)), Qt::NoItemFlags);
    EXPECT_EQ(view->model()->flags(at(2, 0)), Qt::NoItemFlags);
    EXPECT_TRUE(view->model()->flags(at(2, 2)) & Qt::ItemIsEditable);
    grid.SetEditing(false);
    EXPECT_FALSE(view->model()->flags(at(2, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(view->model()->flags(at(2, 2)) & Qt::ItemIsSelectable);
}

TEST_F(GridViewTest, SizesComeFromSampleTextsInTheViewFont) {
    grid.SetColSample(1, "XX");
    grid.SetColSample(2, "XXXXXX");
    grid.SetRowHeight(0, 2.5, "区");
    grid.SetRowCount(8);
    Settle();
    QFontMetrics fm(view->font());
    EXPECT_EQ(view->model()->rowCount(), 8);
    EXPECT_EQ(view->columnWidth(2) - view->columnWidth(1),
              fm.horizontalAdvance(QStringLiteral("XXXXXX")) - fm.horizontalAdvance(QStringLiteral("XX")));
    EXPECT_EQ(view->rowHeight(0), static_cast<int>(2.5 * fm.horizontalAdvance(QStringLiteral("区"))));
    EXPECT_GE(view->rowHeight(1), fm.height());

    // A row that loses its factor goes back to the plain height.
    grid.SetRowHeight(0, 0, "区");
    Settle();
    EXPECT_EQ(view->rowHeight(0), view->rowHeight(1));
}

TEST_F(GridViewTest, CellChangesRefreshOneCellNotTheWholeGrid) {
    grid.SetColCount(101);
    grid.SetRowCount(202);
    grid.SetFixedRows(2);
    Settle();
    int resets = 0;
    QObject::connect(view->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    grid.SetCurrent(1, 2);
    PressKey(view, Qt::Key_9, "9");
    ASSERT_NE(view->editor(), nullptr);
    for (int r = 3; r < 202; ++r)
        for (int c = 1; c < 101; ++c) grid.SetCells(c, r, std::to_string(r * 1000 + c));
    Settle();
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(shown(100, 201), "201100");
    // A change elsewhere (an import, a timer) leaves the user's edit alone.
    EXPECT_NE(view->editor(), nullptr);
    EXPECT_EQ(view->currentIndex(), at(1, 2));
}

TEST_F(GridViewTest, CurrentCellFollowsBothWays) {
    grid.SetCurrent(2, 3);
    EXPECT_EQ(view->currentIndex(), at(2, 3));
    view->setCurrentIndex(at(3, 1));
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.CurRow(), 1);
    PressKey(view, Qt::Key_Down);
    EXPECT_EQ(grid.CurRow(), 2);
    // The fixed column is not a place to go.
    grid.SetCurrent(1, 2);
    PressKey(view, Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(GridViewTest, SelectCellCanRefuseAMove) {
    std::vector<std::pair<int, int>> asked;
    view->setBinding({.selectCell = [&](int c, int r) {
        asked.emplace_back(c, r);
        return r != 2;
    }});
    grid.SetCurrent(1, 1);
    PressKey(view, Qt::Key_Down);
    EXPECT_EQ(grid.CurRow(), 1);
    PressKey(view, Qt::Key_Right);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 2}, {2, 1}}));
    click(3, 2);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.CurRow(), 1);
}

TEST_F(GridViewTest, KeyHandlerSeesEveryCharacterAndMayReplaceIt) {
    std::vector<std::string> edits;
    std::u32string seen;
    view->setBinding({.keyPress =
                          [&](char32_t& k) {
                              seen += k;
                              if (k >= U'a' && k <= U'z') k -= 32;
                              if (k == U'-') k = 0;
                          },
                      .setEditText = [&](int, int, const std::string& t) { edits.push_back(t); }});
    grid.SetCurrent(1, 1);
    grid.ClearModified();
    PressKey(view, Qt::Key_A, "a");
    ASSERT_NE(view->editor(), nullptr);
    TypeText(view->editor(), "b-c");
    EXPECT_EQ(seen, U"ab-c");
    EXPECT_EQ(grid.Cells(1, 1), "ABC");
    EXPECT_TRUE(grid.Modified());
    EXPECT_EQ(edits, (std::vector<std::string>{"A", "AB", "ABC"}));
}

// Tab and Shift+Tab are the grid's own: no handler sees them or stops them, also from
// an open editor, whose text they keep.
TEST_F(GridViewTest, TabAlwaysMovesAndNeverReachesTheHandler) {
    std::u32string seen;
    view->setBinding({.keyPress = [&](char32_t& k) {
        seen += k;
        if (k != U'7') k = 0;
    }});
    grid.SetCurrent(1, 1);
    PressKey(view, Qt::Key_Tab, "\t");
    EXPECT_EQ(grid.Col(), 2);
    PressKey(view, Qt::Key_Backtab, "\t");
    EXPECT_EQ(grid.Col(), 1);
    PressKey(view, Qt::Key_7, "7");
    ASSERT_NE(view->editor(), nullptr);
    PressKey(view->editor(), Qt::Key_Tab, "\t");
    EXPECT_EQ(grid.Cells(1, 1), "7");
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(seen, U"7");
}

TEST_F(GridViewTest, EnterCommitsAndStaysEscapeRestores) {
    std::u32string seen;
    view->setBinding({.keyPress = [&](char32_t& k) { seen += k; }});
    grid.SetCurrent(2, 2);
    PressKey(view, Qt::Key_X, "x");
    PressEnter(view->editor());
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(grid.Cells(2, 2), "x");
    EXPECT_EQ(view->currentIndex(), at(2, 2));

    PressKey(view, Qt::Key_Y, "y");
    ASSERT_NE(view->editor(), nullptr);
    EXPECT_EQ(grid.Cells(2, 2), "y");
    PressKey(view->editor(), Qt::Key_Escape, "\x1b");
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(grid.Cells(2, 2), "x");
    EXPECT_EQ(seen, std::u32string(U"x\ry") + char32_t(Key::Escape));
}

TEST_F(GridViewTest, NoEditorWhenTheGridIsNotEditing) {
    grid.SetEditing(false);
    grid.SetCurrent(1, 1);
    PressKey(view, Qt::Key_5, "5");
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(grid.Cells(1, 1), "");
}

TEST_F(GridViewTest, PaintsWhatTheStyleSays) {
    view->setBinding({.style = [&](int c, int r) {
        CellStyle st;
        st.Text = grid.Cells(c, r);
        if (c == 1 && r == 1) st.Background = 0xFF0000;
        return st;
    }});
    grid.SetCurrent(3, 3);
    QImage img = view->viewport()->grab().toImage();
    auto pixel = [&](int c, int r) { return QColor(img.pixel(view->visualRect(at(c, r)).topLeft() + QPoint(3, 3))); };
    EXPECT_EQ(pixel(1, 1), QColor(0xFF, 0, 0));
    EXPECT_EQ(pixel(2, 0), view->palette().color(QPalette::Normal, QPalette::Button));
    EXPECT_EQ(pixel(2, 2), view->palette().color(QPalette::Base));
}

TEST_F(GridViewTest, AStyleThatThrowsIsReportedOnce) {
    view->setBinding({.style = [](int, int) -> CellStyle { throw std::runtime_error("style broke"); }});
    view->viewport()->grab();
    view->viewport()->grab();
    Settle();
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0].Kind, "exception");
    EXPECT_EQ(dialogs.Log()[0].Text, "style broke");
}

TEST_F(GridViewTest, ClickReachesTheHandlerOnDataCellsOnly) {
    int clicks = 0;
    view->setBinding({.click = [&] { ++clicks; }});
    click(2, 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.CurRow(), 3);
    click(0, 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(grid.Col(), 2);
}

TEST_F(GridViewTest, EnterAndExitFollowTheFocusOfTheWholeGrid) {
    auto* other = new QLineEdit(&host);
    other->move(0, 310);
    other->show();
    host.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return host.isActiveWindow(); }));
    other->setFocus();
    std::string events;
    view->setBinding({.keyPress = [](char32_t&) {}, .enter = [&] { events += "enter "; }, .exit = [&] { events += "exit "; }});
    view->setFocus();
    grid.SetCurrent(1, 1);
    PressKey(view, Qt::Key_7, "7"); // the editor takes the focus: still inside the grid
    ASSERT_NE(view->editor(), nullptr);
    EXPECT_TRUE(view->editor()->hasFocus());
    other->setFocus();
    EXPECT_EQ(events, "enter exit ");
    EXPECT_EQ(grid.Cells(1, 1), "7");
}
