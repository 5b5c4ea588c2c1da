// The main road to the results on screen: a race made, opened and typed in through
// the main window, the result action, the output window and the list chooser.
#include "support/RaceRoadScript.h"
#include "gui/MainWindowFixture.h"
#include "gui/OutputWindow.h"
#include "gui/QtDialogs.h"
#include "gui/UpDownBox.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOutputForm.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include <functional>

class OutputWindowTest : public MainWindowTest {
protected:
    const std::filesystem::path race = home.path() / "tvnData" / "春の駅伝";

    // Made and opened as the user does, then 2 legs, 3 teams and their passings.
    void enterRace() {
        open();
        ScriptRaceFolder(dialogs, "春の駅伝");
        form().MakeKeyNameExecute();
        ScriptOpenEdition(dialogs, race / "大会情報.db", 1);
        form().OpenKeyNameExecute();
        ASSERT_TRUE(form().TaikaiOpen) << dialogs.Joined();
        // Step by step, as the arrows do: each new team gets its runner records.
        for (auto [name, count] : {std::pair{"KukanSpinNum", 2}, std::pair{"SankaSpinNum", 3}}) {
            auto* spin = qobject_cast<QSpinBox*>(window->widgetFor(name));
            while (spin->value() < count) spin->stepUp();
            ASSERT_EQ(spin->value(), count);
        }
        EXPECT_EQ(form().KukanNum, 2);
        EXPECT_EQ(form().TeamNum, 3);
        enterTeams();
        pages()->setCurrentIndex(2); // the runner grid loses the focus: its team's runners are stored
        Settle();
        // Per relay point, in passing order: number, time.
        const char* passings[2][3][2] = {{{"2", "2500"}, {"1", "2510"}, {"3", "2520"}},
                                         {{"1", "5000"}, {"2", "5010"}, {"3", "5100"}}};
        for (int leg = 1; leg <= 2; ++leg)
            for (int i = 0; i < 3; ++i)
                for (int c = 0; c < 2; ++c)
                    typeCell(form().InputGrid, 2 * leg - 1 + c, 2 + i, QString::fromUtf8(passings[leg - 1][i][c]));
    }

    // Team names on the team tab, the runners of legs 1 and 2 team by team on the runner tab.
    void enterTeams() {
        pages()->setCurrentIndex(1);
        Settle();
        const char* teams[] = {"東高校", "西高校", "南高校"};
        for (int t = 1; t <= 3; ++t) typeCell(form().TeamEntryGrid, 1, t, QString::fromUtf8(teams[t - 1]));
        qobject_cast<QTabWidget*>(window->widgetFor("EntryTab"))->setCurrentIndex(1);
        Settle();
        auto* teamNo = window->findChild<UpDownBox*>("TeamUpDown");
        for (int t = 1; t <= 3; ++t) {
            for (int i = 0; i < 3 && form().CurrTeamNo != t; ++i)
                PressKey(teamNo, form().CurrTeamNo < t ? Qt::Key_Up : Qt::Key_Down);
            ASSERT_EQ(form().CurrTeamNo, t);
            clickCell(form().RunnerEntryGrid, 1, 2);
            for (int leg = 1; leg <= 2; ++leg)
                typeCell(form().RunnerEntryGrid, 1, leg + 1,
                         QString::fromUtf8(teams[t - 1]).left(1) + QString::number(leg));
        }
    }

    // The result action from the tool bar, the chooser answered with item `item`.
    OutputWindow* showResults(int item) {
        dialogs.AnswerModal([item](FormBase& f) {
            auto& d = static_cast<TKukanParamForm&>(f);
            d.KukanListBox.SetItemIndex(item);
            d.KukanListBoxClick();
            d.OKBtn.Execute();
            return d.ModalResultValue();
        });
        window->actionFor(form().OutputResult)->trigger();
        Settle();
        return window->findChild<OutputWindow*>("TOutputForm");
    }

    static QString cell(GridView* v, int row, int col) { return v->model()->index(row, col).data().toString(); }
};

TEST_F(OutputWindowTest, TheMainRoadShowsTheOverallResults) {
    enterRace();
    OutputWindow* w = showResults(0);
    ASSERT_NE(w, nullptr) << dialogs.Joined();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("結果出力"));
    // Opens at a size that shows the grid: its columns' width, most of the screen's height.
    const QRect avail = w->screen()->availableGeometry();
    EXPECT_GE(w->frameGeometry().height(), avail.height() * 8 / 10);
    EXPECT_LE(w->frameGeometry().height(), avail.height());
    auto* overall = w->findChild<GridView*>("OutputTTLGrid");
    ASSERT_NE(overall, nullptr);
    overall->applyLayout();
    EXPECT_TRUE(overall->isVisible());
    EXPECT_FALSE(w->findChild<GridView*>("OutputGrid")->isVisible());
    EXPECT_FALSE(w->findChild<GridView*>("tmpDBGrid")->isVisible());
    EXPECT_EQ(cell(overall, 0, 0), QStringLiteral("総合成績"));
    EXPECT_EQ(cell(overall, 2, 0), QStringLiteral("    1)  東高校"));
    EXPECT_EQ(cell(overall, 5, 0), QStringLiteral("    2)  西高校"));
    EXPECT_EQ(cell(overall, 8, 0), QStringLiteral("    3)  南高校"));
    EXPECT_EQ(overall->rowHeight(4), 24);
    EXPECT_GE(overall->viewport()->width(), overall->columnsWidth(0, 2));
    EXPECT_TRUE(w->findChild<QLabel*>("ResultTTL")->text().contains(QStringLiteral("総合成績")));
    shot(w, "result-overall.png");
    // At its opening size every command shows on the tool bar, none behind its arrow.
    for (const ToolButtonDef& def : program->outputForm->ToolBar) {
        auto* button = w->findChild<QToolButton*>(qs(def.Name));
        ASSERT_NE(button, nullptr) << def.Name;
        EXPECT_TRUE(button->isVisible()) << def.Name;
    }
    for (auto* ext : w->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        EXPECT_FALSE(ext->isVisible());

    // The exit button closes the form and its window.
    w->findChild<QToolButton*>("ToolButton2")->click();
    EXPECT_FALSE(program->outputForm->Visible());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(OutputWindowTest, TheOrderButtonSwitchesTheLegView) {
    enterRace();
    OutputWindow* w = showResults(1);
    ASSERT_NE(w, nullptr) << dialogs.Joined();
    TOutputForm& out = *program->outputForm;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("第 1 区成績"));
    auto* legView = w->findChild<GridView*>("OutputGrid");
    EXPECT_TRUE(legView->isVisible());
    auto* order = w->findChild<QToolButton*>("UpDownBtn");
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->text(), QStringLiteral("チーム順"));

    order->click();
    EXPECT_EQ(out.OrderMode, 1);
    EXPECT_EQ(order->text(), QStringLiteral("個人順"));
    EXPECT_TRUE(w->findChild<QLabel*>("ResultTTL")->text().contains(QStringLiteral("(個人順)")));
    order->click();
    EXPECT_EQ(out.OrderMode, 0);
    EXPECT_EQ(order->text(), QStringLiteral("チーム順"));

    // The close box closes the form.
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(out.Visible());
}

TEST_F(OutputWindowTest, TheChooserTakesTheClickedLegOnOk) {
    QtDialogs qt;
    TKukanParamForm& chooser = *program->kukanParamForm;
    auto fill = [&] {
        chooser.Mode = TKukanParamForm::ModeLeg;
        chooser.KukanListBox.Clear();
        for (const char* item : {"全区間成績", "第 1 区成績", "第 2 区成績"})
            chooser.KukanListBox.Add(item);
        chooser.FormShow();
    };
    fill();
    WhenModal([](QWidget* d) {
        auto* list = d->findChild<QListWidget*>("KukanListBox");
        ClickAt(list->viewport(), list->visualItemRect(list->item(2)).center());
        d->findChild<QPushButton*>("OKBtn")->click();
    });
    EXPECT_EQ(qt.ShowModal(chooser), mrOk);
    EXPECT_EQ(program->outputForm->Tag, 2);

    // Escape on the list is the dialog's cancel: the leg stays.
    fill();
    bool closedByEscape = false;
    WhenModal([&](QWidget* d) {
        auto* list = d->findChild<QListWidget*>("KukanListBox");
        ClickAt(list->viewport(), list->visualItemRect(list->item(0)).center());
        PressKey(list, Qt::Key_Escape, QStringLiteral("\x1b"));
        closedByEscape = !d->isVisible();
        if (!closedByEscape) d->close();
    });
    EXPECT_EQ(qt.ShowModal(chooser), mrCancel);
    EXPECT_TRUE(closedByEscape);
    EXPECT_EQ(chooser.KukanListBox.ItemIndex(), 0);
    EXPECT_EQ(program->outputForm->Tag, 2);
}

// The inputs changed on the main window, the result window open beside it.
TEST_F(OutputWindowTest, TheWindowSaysItsViewIsStaleAndItsOutputsAsk) {
    enterRace();
    OutputWindow* w = showResults(0);
    ASSERT_NE(w, nullptr) << dialogs.Joined();
    auto* clip = w->findChild<QToolButton*>("ToolButtonClipCopy");
    auto shown = [w] { // the title and the status bar's second panel
        const auto labels = w->findChild<QStatusBar*>()->findChildren<QLabel*>();
        return w->windowTitle() + "|" + (labels.size() > 1 ? labels.at(1)->text() : "(none)");
    };
    clipboard.SetText("kept");
    for (auto change : std::initializer_list<std::function<void()>>{
             [&] { typeCell(form().InputGrid, 4, 2, QStringLiteral("5020")); },
             [&] { qobject_cast<QSpinBox*>(window->widgetFor("KukanSpinNum"))->stepDown(); }}) {
        change();
        Settle();
        EXPECT_EQ(shown(), QStringLiteral("結果出力  (入力変更後 未再計算)|"
                                          "入力データが変更されました。出力の前に再計算します。"));
        dialogs.AnswerDlg(mrNo);
        clip->click();
        EXPECT_EQ(clipboard.GetText(), "kept");
    }
    dialogs.AnswerDlg(mrYes);
    clip->click();
    Settle();
    EXPECT_EQ(shown(), QStringLiteral("結果出力|"));
    EXPECT_EQ(program->outputForm->OutputTTLGrid.ColCount(), 2); // one leg now
    EXPECT_NE(clipboard.GetText(), "kept");
}
