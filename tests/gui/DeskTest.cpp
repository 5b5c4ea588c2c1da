// The main window driven as the desk drives it: mouse clicks and key presses through
// QTest, each key to the widget that has the focus, no event-loop turn between keys.
#include "gui/MainWindowFixture.h"
#include "gui/OutputWindow.h"
#include "gui/QtDialogs.h"
#include "database/TDataMdl.h"
#include "mainwindow/TFormDelayInf.h"
#include "mainwindow/TKukanParamForm.h"
#include "output/TOutputForm.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/RaceRoadScript.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <tuple>
#include <utility>

class DeskTest : public MainWindowTest {
protected:
    std::filesystem::path raceFile() const { return home.path() / "tvnData" / "desk" / "大会情報.db"; }

    void trigger(Action& a) {
        QAction* q = window->actionFor(a);
        ASSERT_NE(q, nullptr) << a.Name();
        q->trigger();
        Settle();
    }

    // The race folder "desk" made through the menu, its edition 1 opened.
    void createRace() {
        ScriptRaceFolder(dialogs, "desk");
        trigger(form().MakeKeyName);
    }
    void openTheRace() {
        ScriptOpenEdition(dialogs, raceFile(), 1);
        trigger(form().OpenKeyName);
        ASSERT_TRUE(form().TaikaiOpen) << dialogs.Joined();
    }
    void setSpin(const char* name, int value) {
        auto* spin = qobject_cast<QSpinBox*>(window->widgetFor(name));
        ASSERT_NE(spin, nullptr);
        QTest::mouseClick(spin->findChild<QLineEdit*>(), Qt::LeftButton);
        spin->findChild<QLineEdit*>()->selectAll();
        keys(QString::number(value) + "\r");
    }
    // A real race with the counts given, on the page given.
    void openRealRace(int legs, int teams, int page) {
        open();
        createRace();
        openTheRace();
        setSpin("KukanSpinNum", legs);
        setSpin("SankaSpinNum", teams);
        showPage(page);
    }

    void showPage(int page) { clickTab(pages()->tabBar(), page); }
    static void clickTab(QTabBar* bar, int index) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        Settle();
    }
    QTabBar* entryTabs() const {
        return qobject_cast<QTabWidget*>(window->widgetFor("EntryTab"))->tabBar();
    }

    void click(StringGrid& g, int col, int row) {
        GridView* v = grid(g);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(row, col)).center());
    }

    // Keys as the keyboard sends them: each to the widget with the focus at that moment.
    // "\r" is Enter, "\t" Tab, "\x1b" Escape, "\x02" F2, "\x16" Ctrl+V.
    static void keys(const QString& typed) {
        for (QChar c : typed) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << "no widget has the focus";
            switch (c.unicode()) {
            case 0x02: QTest::keyClick(focus, Qt::Key_F2); break;
            case 0x16: QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier); break;
            default: QTest::keyClick(focus, c.toLatin1());
            }
        }
    }
    static void setClipboard(const char* text) { QGuiApplication::clipboard()->setText(QString::fromUtf8(text)); }

    // The action as the desk starts it: its tool button clicked (it takes no focus), else
    // its pop-up or menu item.
    static void run(QWidget* window, QAction* a) {
        ASSERT_NE(a, nullptr);
        for (QToolBar* bar : window->findChildren<QToolBar*>())
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a)); b && b->isVisible())
                return QTest::mouseClick(b, Qt::LeftButton);
        a->trigger();
    }
    void showSplitPanel() {
        if (!form().SlitGridPanel.Visible()) trigger(form().ToolButtonSlitPanel);
        ASSERT_TRUE(grid(form().tempKukanGrid)->isVisible());
    }
    // "40" typed under 16'00" in the main window, the desk's again (the result window took
    // over when shown), its editor left open.
    void typeFortyUnder1600(StringGrid& g) {
        g.SetCells(2, 2, "1600");
        window->activateWindow();
        ASSERT_TRUE(WaitFor([&] { return window->isActiveWindow(); }));
        click(g, 2, 3);
        keys("40");
    }
};

// A runner typed on the first visit of the runner tab is stored under the team the team
// grid names, and is there after the program is started again.
TEST_F(DeskTest, ARunnerTypedOnTheFirstVisitOfTheRunnerTabSurvivesAReopen) {
    openRealRace(1, 2, 1);
    click(form().TeamEntryGrid, 1, 1);
    keys("Tokyo\rOsaka\r");
    click(form().TeamEntryGrid, 1, 1); // back to the first team
    clickTab(entryTabs(), 1);
    EXPECT_EQ(form().TeamUpDown.Value(), 1);
    EXPECT_EQ(form().RunnerGridTeam, 1);
    EXPECT_EQ(form().CurrTeamName.Caption(), "Noｶｰﾄﾞ 1 Tokyo");
    EXPECT_EQ(grid(form().RunnerEntryGrid)->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    click(form().RunnerEntryGrid, 1, 2);
    keys("Sato\rIchiro\r");
    EXPECT_EQ(form().RunnerEntryGrid.Cells(2, 2), "Ichiro");

    dialogs.AnswerDlg(mrYes); // 終了しますか ?
    ASSERT_TRUE(window->close());
    window.reset();
    Start();
    open();
    openTheRace();
    showPage(1);
    clickTab(entryTabs(), 1);
    EXPECT_EQ(form().RunnerGridTeam, 1);
    EXPECT_EQ(form().RunnerEntryGrid.Cells(1, 2), "Sato");
    EXPECT_EQ(form().RunnerEntryGrid.Cells(2, 2), "Ichiro");
    EXPECT_EQ(form().RunnerNameText(1, 1, 6), "Sato Ichiro");
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 2), "Osaka");
}

// Tab and Shift+Tab move and Escape puts the cell back, whatever the column's typing
// rules; a number typed after Tab goes into the next cell.
TEST_F(DeskTest, TabAndEscapeNeverChangeACell) {
    open();
    form().KukanSpinNum.SetValue(2);
    form().SankaSpinNum.SetValue(2);
    openRace();
    struct Case {
        StringGrid* grid;
        int page, col, row;
        const char* before;
        const char* typed;
        const char* after;           // the cell typed in
        int nextCol = -1;            // the cell of the same row Tab went to, when keys went there
        const char* next = nullptr;
    };
    TMainForm& f = form();
    const Case cases[] = {
        {&f.TeamEntryGrid, 1, 5, 1, "A", "\t", "A", 6, ""},
        {&f.TeamEntryGrid, 1, 5, 1, "A", "\x1b", "A"},
        {&f.TeamEntryGrid, 1, 5, 1, "A", "b\x1b", "A"},
        {&f.TeamEntryGrid, 1, 3, 1, "12", "\x02" "9\x1b", "12"},
        {&f.TeamEntryGrid, 1, 3, 1, "12", "\x02" "9\ta", "9", 5, "A"}, // past the "OP" column
        {&f.TeamEntryGrid, 1, 6, 1, "23000", "\x02" "1\x1b", "23000"},
        {&f.KukanInfGrid, 0, 2, 1, "", "5.2\t1530", "5.2", 3, "1530"},
        {&f.KukanInfGrid, 0, 3, 1, "3500", "\x02" "1\x1b", "3500"},
        {&f.KukanInfGrid, 0, 4, 1, "2", "\x02" "5\x1b", "2"},
        {&f.taikaiBestGrid, 0, 1, 1, "2024/01/02", "\x02" "3\x1b", "2024/01/02"},
        {&f.taikaiBestGrid, 0, 3, 1, "21500", "\x02" "7\t8", "7", 1, "8"}, // round to the first cell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grid->Name() << " col " << c.col << " keys " << c.typed);
        f.MainPage.ShowPage(c.page);
        Settle();
        c.grid->SetCells(c.col, c.row, c.before);
        if (c.next) c.grid->SetCells(c.nextCol, c.row, "");
        click(*c.grid, c.col, c.row);
        keys(c.typed);
        EXPECT_EQ(c.grid->Cells(c.col, c.row), c.after);
        if (c.next) {
            EXPECT_EQ(c.grid->Cells(c.nextCol, c.row), c.next);
        }
        keys("\x1b");
    }
    // Shift+Tab goes back a cell, past the "OP" column too, and leaves the cells alone.
    f.MainPage.ShowPage(1);
    click(f.TeamEntryGrid, 6, 2);
    f.TeamEntryGrid.SetCells(5, 2, "C");
    for (int col : {5, 3}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(f.TeamEntryGrid.Col(), col);
    }
    EXPECT_EQ(f.TeamEntryGrid.Cells(5, 2), "C");
}

// A paste into an open editor goes through the column's rules and stops at what the
// column keeps.
TEST_F(DeskTest, APasteIntoACellFollowsTheColumnsRules) {
    open();
    form().KukanSpinNum.SetValue(2);
    form().SankaSpinNum.SetValue(3);
    openRace();
    TMainForm& f = form();
    f.InputGrid.SetCells(2, 2, "93512");
    struct Case {
        StringGrid* grid;
        int page, col, row;
        const char* clip;
        const char* after;
    };
    const Case cases[] = {
        {&f.InputGrid, 2, 2, 3, "9:35:12", "93512"},
        {&f.InputGrid, 2, 4, 2, "12345678", "1234567"},
        {&f.InputGrid, 2, 1, 2, "12\t9:35:12\r\n", "12"},
        {&f.TeamEntryGrid, 1, 3, 1, "A-12", "12"},
        {&f.TeamEntryGrid, 1, 5, 1, "ab", "A"}, // the class keeps one letter
        {&f.TeamEntryGrid, 1, 1, 1, "東高校", "東高校"},
        {&f.TeamEntryGrid, 1, 2, 1, "ﾄｳｷｮｳﾀﾞｲｶﾞｸﾌｿﾞｸﾄｳｷｮｳﾀﾞｲｶﾞｸﾌｿﾞｸﾄｳｷｮｳﾀﾞｲｶﾞｸ\t1",
         "ﾄｳｷｮｳﾀﾞｲｶﾞｸﾌｿﾞｸﾄｳｷｮｳﾀﾞｲｶﾞｸﾌｿﾞｸﾄｳｷｮｳﾀﾞｲｶﾞ"}, // 40 of 41 half-width kana
        {&f.TeamEntryGrid, 1, 3, 1, "12345", "123"},
        {&f.KukanInfGrid, 0, 2, 1, "5,2km", "52"},
        {&f.KukanInfGrid, 0, 1, 1, "東京駅前中継所東京駅前中継所東京駅前", "東京駅前中継所東京駅前中継所東"},
        {&f.taikaiBestGrid, 0, 2, 1, "大手町読売新聞社前スタート地点大手町読売新聞社前", "大手町読売新聞社前スタート地点大手町読売"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grid->Name() << " col " << c.col << " paste " << c.clip);
        f.MainPage.ShowPage(c.page);
        Settle();
        setClipboard(c.clip);
        click(*c.grid, c.col, c.row);
        keys("\x02\x16");
        EXPECT_EQ(c.grid->Cells(c.col, c.row), c.after);
        keys("\r");
    }
    // Enter completed the pasted passing time as a typed one; the grid shows it.
    EXPECT_EQ(grid(f.InputGrid)->model()->index(3, 2).data().toString(), QStringLiteral("93512"));
    EXPECT_TRUE(f.InputGrid.Modified());
}

// A right click in an open editor brings up the grid's pop-up menu, whose paste keeps
// to its own rules, never the line edit's menu, which would paste anything.
TEST_F(DeskTest, ARightClickInAnEditorShowsTheGridsMenu) {
    open();
    openRace();
    form().MainPage.ShowPage(2);
    Settle();
    click(form().InputGrid, 2, 2);
    keys("\x02");
    auto* editor = grid(form().InputGrid)->editor();
    ASSERT_NE(editor, nullptr);
    QStringList shown;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) shown << a->text();
        menu->close();
    });
    const QPoint at = editor->rect().center();
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, editor->mapToGlobal(at));
    QApplication::sendEvent(editor, &e);
    EXPECT_TRUE(shown.contains(QStringLiteral("貼り付け"))) << shown.join("|").toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("すべてを選択"))) << shown.join("|").toStdString();
}

// Keys typed faster than the event loop turns land where the keys before them moved:
// the waiting grid adds its row and moves into it before the next key.
TEST_F(DeskTest, TypeAheadInTheWaitingGridLandsInTheRightCells) {
    openRealRace(2, 3, 2);
    TMainForm& f = form();
    f.InputGrid.SetCells(1, 2, "12");
    f.InputGrid.SetCells(1, 3, "15");
    f.InputGrid.SetCurrent(1, 2);
    ASSERT_EQ(f.LoadDelayGrid(), 0);
    QtDialogs qt;
    bool typed = false;
    WhenModal([&](QWidget* w) {
        auto* view = w->findChild<GridView*>("DelayStringGrid");
        ASSERT_TRUE(WaitFor([&] { return view->editor() && view->editor()->hasFocus(); }));
        keys("12\r30\r15\r45\r");
        typed = true;
        w->close();
    });
    qt.ShowModal(*program->formDelayInf);
    ASSERT_TRUE(typed);
    ASSERT_EQ(f.LoadDelayGrid(), 0); // read back from the waiting table
    const StringGrid& g = program->formDelayInf->DelayStringGrid;
    EXPECT_EQ(g.Row(1), (std::vector<std::string>{"12", "30"}));
    EXPECT_EQ(g.Row(2), (std::vector<std::string>{"15", "45"}));
}

// Closing the window while a passing time is typed completes it from the cell above
// before the save.
TEST_F(DeskTest, ClosingCompletesThePassingTimeBeingTyped) {
    openRealRace(1, 2, 2);
    click(form().InputGrid, 2, 2);
    keys("93512\r40");
    ASSERT_NE(grid(form().InputGrid)->editor(), nullptr);
    dialogs.AnswerDlg(mrYes);
    ASSERT_TRUE(window->close());
    EXPECT_EQ(form().InputGrid.Cells(2, 3), "93540");
    window.reset();
    Start();
    open();
    openTheRace();
    EXPECT_EQ(form().InputGrid.Cells(2, 3), "93540");
}

// A tool button takes no focus: the action itself completes the time being typed, for
// every command that reads or saves the grids and the result window's outputs.
TEST_F(DeskTest, ActionsReadATimeBeingTypedCompletedAsLeavingTheCellWould) {
    openRealRace(1, 2, 2);
    TMainForm& f = form();
    f.InputGrid.SetCells(1, 2, "1");
    f.InputGrid.SetCells(1, 3, "2");
    typeFortyUnder1600(f.InputGrid);
    dialogs.AnswerModal([](FormBase& d) {
        static_cast<TKukanParamForm&>(d).OKBtn.Execute();
        return d.ModalResultValue();
    });
    run(window.get(), window->actionFor(f.OutputResult));
    Query legTimes = DataMdl->Db()->Prepare(
        "SELECT group_concat(Ktime_1) FROM (SELECT Ktime_1 FROM temptable.db ORDER BY TeamID)");
    ASSERT_TRUE(legTimes.Step());
    EXPECT_EQ(legTimes.Column(0).AsString(), "960,1000") << dialogs.Joined(); // 16'00", 16'40"
    auto* results = window->findChild<OutputWindow*>("TOutputForm");
    ASSERT_TRUE(results && results->isVisible());

    showSplitPanel();
    struct Case {
        StringGrid* grid;
        Action* action;
        QWidget* window;
    };
    QWidget* main = window.get();
    std::vector<Case> cases;
    for (Action* a : {&f.OutputResult, &f.saveInputData, &f.OpenKuriageForm, &f.OpenDelayInfForm,
                      &f.OpenClockInputForm, &f.ToolButtonInputGridCopy, &f.ActionInputGridToClipboard,
                      &f.Slit2InpGrid, &f.InputGrid2SlitGrid, &f.OpenSingleCSV, &f.ActionMergeCSV,
                      &f.ActionPutSlitText, &f.PopCopyCell, &f.PopPasteCell, &f.PopPastePairs})
        cases.push_back({&f.InputGrid, a, main});
    for (Action* a : {&f.Slit2InpGrid, &f.ActionToClipbord, &f.ActionClipPaste, &f.saveInputData})
        cases.push_back({&f.tempKukanGrid, a, main});
    cases.push_back({&f.InputGrid, &program->outputForm->ActionClipCopy, results});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grid->Name() << " " << c.action->Name());
        typeFortyUnder1600(*c.grid);
        std::string seen = "<not run>";
        auto kept = std::exchange(c.action->OnExecute, [&] {
            seen = c.grid->Cells(2, 3) + (grid(*c.grid)->editor() ? " in its open editor" : "");
        });
        const QString name = QString::fromStdString(c.action->Name());
        run(c.window, c.window == main ? window->actionFor(*c.action) : c.window->findChild<QAction*>(name));
        c.action->OnExecute = kept;
        EXPECT_EQ(seen, "1640");
    }
}

// The two grids' focus signals come in either order.
TEST_F(DeskTest, TheInputActionsFollowTheGridThatHoldsTheFocus) {
    openRealRace(1, 2, 2);
    showSplitPanel();
    TMainForm& f = form();
    auto enabled = [&] {
        std::string states;
        for (Action* a : {&f.OutputResult, &f.OpenKuriageForm, &f.OpenClockInputForm, &f.OpenDelayInfForm,
                          &f.deleteClockLog, &f.saveInputData})
            states += window->actionFor(*a)->isEnabled() ? "1" : "0";
        return states + (program->outputForm->OpenPrintParam.Enabled() ? "1" : "0");
    };
    click(f.tempKukanGrid, 1, 2);
    EXPECT_EQ(enabled(), "1111111");
    click(f.InputGrid, 1, 2); // Qt tells the input grid's enter first
    EXPECT_EQ(enabled(), "1111111");

    const GridBinding &in = grid(f.InputGrid)->binding(), &split = grid(f.tempKukanGrid)->binding();
    using Signals = std::vector<const std::function<void()>*>;
    const std::tuple<const char*, Signals, const char*> moves[] = {
        {"split to input, exit first", {&split.enter, &split.exit, &in.enter}, "1111111"},
        {"split to input, enter first", {&split.enter, &in.enter, &split.exit}, "1111111"},
        {"input to split, exit first", {&in.enter, &in.exit, &split.enter}, "1111111"},
        {"input to split, enter first", {&in.enter, &split.enter, &in.exit}, "1111111"},
        {"input to the page tabs", {&in.enter, &in.exit}, "0000000"},
        {"split to input to the page tabs", {&split.enter, &in.enter, &split.exit, &in.exit}, "0000000"},
    };
    for (const auto& [move, order, after] : moves) {
        for (const auto* signal : order) (*signal)();
        EXPECT_EQ(enabled(), after) << move;
    }
}

// 5,600 characters into a team name, by Ctrl+V and by Shift+Insert.
TEST_F(DeskTest, ALongPasteIsOneEditThatStopsAtWhatTheColumnKeeps) {
    open();
    openRace();
    form().MainPage.ShowPage(1);
    Settle();
    StringGrid& teams = form().TeamEntryGrid;
    auto changes = std::make_shared<int>(0);
    teams.CellChanged.connect([changes](int, int) { ++*changes; });
    const QString name = QString::fromUtf8("東京").repeated(2800);
    for (auto [key, modifier] :
         {std::pair{Qt::Key_V, Qt::ControlModifier}, std::pair{Qt::Key_Insert, Qt::ShiftModifier}}) {
        teams.SetCells(1, 1, "");
        QGuiApplication::clipboard()->setText(name);
        click(teams, 1, 1);
        keys("\x02");
        *changes = 0;
        QElapsedTimer took;
        took.start();
        QTest::keyClick(QApplication::focusWidget(), key, modifier);
        EXPECT_LT(took.elapsed(), 1000) << key;
        // The name's first 40 bytes, whole characters, set once.
        EXPECT_TRUE(*changes == 1 && teams.Cells(1, 1) == CutSjis(name.toStdString(), 40)) << key;
        keys("\r");
    }
}
