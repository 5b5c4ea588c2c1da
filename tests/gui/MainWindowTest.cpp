#include "gui/MainWindowFixture.h"
#include "gui/SpinTyping.h"
#include "mainwindow/TFormDelayInf.h"
#include "platform/Files.h"

#include <QAction>
#include <QLineEdit>
#include <QSpinBox>

TEST_F(MainWindowTest, FirstShowCreatesTheDataRootAndShowsTheSplash) {
    open();
    auto root = home.path() / "tvnData";
    EXPECT_TRUE(std::filesystem::is_directory(root));
    EXPECT_TRUE(dialogs.Saw(root.string() + " が作成されました。")) << dialogs.Joined();
    EXPECT_EQ(window->windowTitle().toStdString(), "theTavren Version 4.33");
    ASSERT_TRUE(splash());
    EXPECT_TRUE(splash()->isVisible());
    EXPECT_TRUE(splash()->text().contains(QStringLiteral("タヴレン集計プログラム")));
    EXPECT_TRUE(splash()->font().bold() && splash()->font().italic());
    EXPECT_FALSE(pages()->isVisible());

    // Showing the window again is not a first show.
    form().TaikaiNo = 5;
    window->hide();
    window->show();
    Settle();
    EXPECT_EQ(form().TaikaiNo, 5);
}

// Never a window without a data root.
TEST_F(MainWindowTest, ProgramFolderIsMadeWithItsParentsOrTheProgramEnds) {
    ASSERT_TRUE(WriteFileBytes(home.path() / "file", "x"));
    for (const auto& [folder, made] :
         {std::pair{home.path() / "a" / "b" / "c", true}, {home.path() / "file" / "c", false}}) {
        SCOPED_TRACE(folder.string());
        window.reset();
        program = std::make_unique<Program>(ProgramEnv{folder, "tavren", &dialogs, &clipboard, &shell});
        dialogs.ClearLog();
        open();
        const std::string root = (folder / "tvnData").string();
        EXPECT_EQ(dialogs.Joined(), root + (made ? " が作成されました。" : " の作成に失敗しました。"));
        EXPECT_EQ(std::pair(std::filesystem::is_directory(root), window->isVisible()), std::pair(made, made));
    }
}

TEST_F(MainWindowTest, TabsSwitchThePagesBothWays) {
    open();
    form().ReceName.SetText("第10回 タヴレン記念駅伝");
    form().OrgName.SetLines({"タヴレン陸上競技協会", "後援 タヴレン新聞社"});
    form().KukanSpinNum.SetValue(5);
    form().SankaSpinNum.SetValue(12);
    openRace();
    ASSERT_TRUE(pages()->isVisible());
    EXPECT_FALSE(splash()->isVisible());
    EXPECT_EQ(pages()->tabText(2), QStringLiteral("データ入力"));
    shot(0);

    form().showSlitPanel = true; // the page-2 shot shows the split grid beside the input grid
    form().ApplyCountsAndLayout();
    for (int page : {1, 2, 0}) {
        pages()->setCurrentIndex(page);
        Settle();
        EXPECT_EQ(form().MainPage.ActivePageIndex(), page);
        if (page != 0) shot(page);
    }
    // Page 0 gave the counts back to the user; the input page took them.
    EXPECT_TRUE(window->widgetFor("KukanSpinNum")->isEnabled());
    pages()->setCurrentIndex(2);
    EXPECT_FALSE(window->widgetFor("KukanSpinNum")->isEnabled());
    EXPECT_TRUE(window->widgetFor("LabelBonrei")->isVisible());
    EXPECT_TRUE(window->widgetFor("SlitGridPanel")->isVisible());
    // The input page closes the input method on the input grid.
    EXPECT_EQ(form().FocusedControl, "InputGrid");
    EXPECT_TRUE(window->widgetFor("InputGrid")->inputMethodHints() & Qt::ImhPreferLatin);

    // A page shown by the program moves the tab without running the page change.
    form().MainPage.ShowPage(0);
    EXPECT_EQ(pages()->currentIndex(), 0);
    EXPECT_FALSE(window->widgetFor("KukanSpinNum")->isEnabled());
}

TEST_F(MainWindowTest, TypingIntoTheLegGridGoesThroughItsKeyFilter) {
    open();
    form().KukanSpinNum.SetValue(3);
    openRace();
    StringGrid& legs = form().KukanInfGrid;
    GridView* view = grid(legs);
    legs.SetCurrent(2, 1); // 距離 of leg 1
    EXPECT_EQ(view->currentIndex(), view->model()->index(1, 2));
    legs.ClearModified();

    PressKey(view, Qt::Key_A, "a");
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(legs.Cells(2, 1), "");

    PressKey(view, Qt::Key_5, "5");
    ASSERT_NE(view->editor(), nullptr);
    TypeText(view->editor(), "x.2");
    EXPECT_EQ(legs.Cells(2, 1), "5.2");
    EXPECT_TRUE(legs.Modified());

    // The leg grid's Enter moves down itself; the edit is kept.
    PressEnter(view->editor());
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(legs.CurRow(), 2);
    EXPECT_EQ(view->currentIndex().row(), 2);
    EXPECT_EQ(legs.Cells(2, 1), "5.2");
}

TEST_F(MainWindowTest, TheEditionGridFiltersByColumn) {
    open();
    openRace();
    StringGrid& edition = form().taikaiBestGrid;
    GridView* view = grid(edition);

    edition.SetCurrent(3, 1); // 大会記録: digits only, Enter included
    PressKey(view, Qt::Key_1, "1");
    ASSERT_NE(view->editor(), nullptr);
    TypeText(view->editor(), "a2:3");
    PressEnter(view->editor());
    EXPECT_NE(view->editor(), nullptr);
    EXPECT_EQ(edition.Cells(3, 1), "123");

    // スタート地点 takes any text; Enter left alone commits and stays.
    edition.SetCurrent(2, 1);
    EXPECT_EQ(view->editor(), nullptr);
    PressKey(view, Qt::Key_A, "a");
    TypeText(view->editor(), QStringLiteral("駅前"));
    PressEnter(view->editor());
    EXPECT_EQ(view->editor(), nullptr);
    EXPECT_EQ(edition.Cells(2, 1), "a駅前");
    EXPECT_EQ(edition.Col(), 2);
    EXPECT_EQ(edition.CurRow(), 1);
}

TEST_F(MainWindowTest, EnterInTheRaceNameMovesToTheOrganiser) {
    open();
    openRace();
    auto* name = qobject_cast<QLineEdit*>(window->widgetFor("ReceName"));
    ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }));
    name->setFocus();
    TypeText(name, "駅伝");
    PressEnter(name);
    EXPECT_EQ(form().ReceName.Text(), "駅伝");
    EXPECT_EQ(form().FocusedControl, "OrgName");
    EXPECT_EQ(QApplication::focusWidget(), window->widgetFor("OrgName"));
}

// Counts apply when editing ends: typing "15" over "12" never lays out one team, and
// a count that goes down and up again gives back what the grids held.
TEST_F(MainWindowTest, SpinEditsApplyWhenEditingEndsAndCountsGiveBackTheirCells) {
    open();
    openRace();
    form().SankaSpinNum.SetValue(12);
    form().KukanSpinNum.SetValue(3);
    form().TeamEntryGrid.SetCells(1, 12, "十二番");
    form().InputGrid.SetCells(5, 2, "7");
    form().KukanInfGrid.SetCells(1, 3, "ゴール");

    auto* teams = qobject_cast<QSpinBox*>(window->widgetFor("SankaSpinNum"));
    teams->findChild<QLineEdit*>()->selectAll();
    TypeText(teams, QStringLiteral("15"));
    EXPECT_EQ(form().TeamNum, 12);
    EXPECT_EQ(form().TeamEntryGrid.RowCount(), 13);
    PressEnter(teams);
    EXPECT_EQ(form().TeamNum, 15);
    EXPECT_EQ(grid(form().TeamEntryGrid)->model()->rowCount(), 16);
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 12), "十二番");

    auto* legs = qobject_cast<QSpinBox*>(window->widgetFor("KukanSpinNum"));
    PressKey(legs, Qt::Key_Down);
    EXPECT_EQ(form().InputGrid.ColCount(), 5);
    EXPECT_EQ(form().InputGrid.Cells(5, 2), "");
    PressKey(legs, Qt::Key_Up);
    EXPECT_EQ(grid(form().InputGrid)->model()->columnCount(), 7);
    EXPECT_EQ(form().InputGrid.Cells(5, 2), "7");
    EXPECT_EQ(form().KukanInfGrid.Cells(1, 3), "ゴール");
}

// Team 4 passed sixth: typing 4 teams asks, No shows 6 again; an arrow down asks, Yes lays out 5.
TEST_F(MainWindowTest, ALowerTeamCountOverPassingsAsksAndNoShowsTheOldCount) {
    open();
    openRace();
    form().SankaSpinNum.SetValue(6);
    form().InputGrid.SetCells(1, 7, "4");
    auto* teams = qobject_cast<QSpinBox*>(window->widgetFor("SankaSpinNum"));
    dialogs.AnswerDlg(mrNo);
    TypeSpinValue(teams, QStringLiteral("4"));
    Settle();
    EXPECT_EQ(std::pair(teams->text(), grid(form().InputGrid)->model()->rowCount()),
              std::pair(QStringLiteral("6"), 8));
    dialogs.AnswerDlg(mrYes);
    PressKey(teams, Qt::Key_Down);
    Settle();
    EXPECT_EQ(std::pair(teams->text(), grid(form().InputGrid)->model()->rowCount()),
              std::pair(QStringLiteral("5"), 7));
}

TEST_F(MainWindowTest, ClosingWithNoRaceOpenCloses) {
    open();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, DecliningTheCloseQuestionKeepsTheWindow) {
    open();
    openRace();
    dialogs.AnswerDlg(mrNo);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(dialogs.Saw("終了しますか ?"));
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
    open();
    QAction* exit = window->actionFor(form().Exit);
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ARegisteredModelessWindowFollowsItsForm) {
    RegisterWindow("TFormDelayInf", [](FormBase& f) {
        auto* w = new QWidget;
        w->setObjectName(QString::fromStdString(f.Name()) + "Window");
        return w;
    });
    open();
    FormBase& delays = *program->formDelayInf;
    delays.Show();
    auto* shown = window->findChild<QWidget*>("TFormDelayInfWindow");
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->isWindow());
    delays.Hide();
    EXPECT_FALSE(shown->isVisible());
    delays.Show();
    EXPECT_EQ(window->findChildren<QWidget*>("TFormDelayInfWindow").size(), 1);
    // The title bar's close box closes the form.
    shown->close();
    EXPECT_FALSE(delays.Visible());
}
