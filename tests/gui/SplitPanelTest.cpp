// The split panel offscreen: shown from the main tool bar, its own tool bar and
// pop-up, the input grid's pop-up, and a paste that reaches the grid view.
#include "gui/MainWindowFixture.h"
#include "platform/Files.h"

#include "platform/Files.h"

#include <QAction>
#include <QLineEdit>
#include <QToolBar>

#include <tuple>

using Cells = std::vector<std::string>;

class SplitPanelTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open();
        form().KukanSpinNum.SetValue(2);
        form().SankaSpinNum.SetValue(4);
        openRace();
        form().EntryTeamNum = form().TeamNum;
        form().MainPage.ShowPage(2);
        form().KukanSpinDisable(2); // the input page's tools, as the page change enables them
        Settle();
    }
    static QStringList texts(const QList<QAction*>& actions) {
        QStringList out;
        for (QAction* a : actions)
            if (!a->isSeparator()) out << a->text();
        return out;
    }
};

TEST_F(SplitPanelTest, PanelToolsAndPopupsWork) {
    QWidget* panel = window->widgetFor("SlitGridPanel");
    const bool shown = panel->isVisible();
    window->actionFor(form().ToolButtonSlitPanel)->trigger();
    Settle();
    EXPECT_EQ(panel->isVisible(), !shown);
    if (!panel->isVisible()) {
        window->actionFor(form().ToolButtonSlitPanel)->trigger();
        Settle();
    }
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(window->actionFor(form().ToolButtonSlitPanel)->isChecked());

    auto* tools = panel->findChild<QToolBar*>("SlitToolBar");
    auto* fileTools = panel->findChild<QToolBar*>("SlitFileToolBar");
    ASSERT_TRUE(tools && fileTools);
    EXPECT_EQ(texts(tools->actions()),
              (QStringList{"入力Gへ", "入力Gから", "区", "ｺﾋﾟｰ", "貼付", "セル挿入", "セル削除", "ｽﾘｯﾄｸﾞﾘｯﾄﾞｸﾘｱ"}));
    EXPECT_EQ(texts(fileTools->actions()),
              (QStringList{"ｼﾝｸﾞﾙCSV取込", "000.csv指定", "自動取込", "自動入力Gへ", "CSVの結合", "ﾃｷｽﾄ出力"}));
    // The panel must leave the input grid most of the page.
    EXPECT_GT(grid(form().InputGrid)->width(), panel->width());
    EXPECT_EQ(texts(grid(form().tempKukanGrid)->actions()), (QStringList{"行挿入", "行削除"}));
    QList<QAction*> popup = grid(form().InputGrid)->actions();
    EXPECT_EQ(texts(popup),
              (QStringList{"行挿入", "行削除", "コピー", "貼り付け", "列ｸﾘｱ", "行貼付", "区間内容ｺﾋﾟｰ"}));
    EXPECT_FALSE(popup.back()->isEnabled());

    clipboard.SetText("2\t1:00:05\r\n2\t2:00:10\r\n");
    window->actionFor(form().ActionClipPaste)->trigger();
    Settle();
    GridView* splits = grid(form().tempKukanGrid);
    EXPECT_EQ(splits->model()->index(3, 3).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(form().tempKukanGridDrawCell(2, 3).Text, form().TimeToDisplayText("20010"));

    dialogs.AnswerDlg(mrYes);
    window->actionFor(form().Slit2InpGrid)->trigger();
    EXPECT_EQ(form().InputGrid.Cells(4, 2), "20010");
    EXPECT_EQ(grid(form().InputGrid)->model()->index(2, 3).data().toString(), QStringLiteral("2"));
    form().DataFolder = home.path();
    window->actionFor(form().ActionPutSlitText)->trigger();
    std::string text;
    EXPECT_TRUE(ReadFileBytes(home.path() / "DataHTML" / "csv" / "slit_text.txt", text));
    EXPECT_EQ(text, "1,1,2,1,10005000,10005000,1\r\n1,1,2,2,20010000,20010000,1\r\n");
    shot("split-panel.png");
}

TEST_F(SplitPanelTest, AutoImportLineFollowsItsToggles) {
    EXPECT_TRUE(form().MainWindowActive); // the window was activated when shown
    const std::string file = (home.path() / "000.csv").string();
    ASSERT_TRUE(WriteFileBytes(file, "h\r\na,b,3,1000,1\r\n"));
    auto* path = qobject_cast<QLineEdit*>(window->widgetFor("Edit1"));
    TypeText(path, QString::fromStdString(file));
    PressEnter(path);
    EXPECT_EQ(form().FromPath, file);
    QAction* autoImport = window->actionFor(form().ActionSetAllCSV);
    for (QAction* a : {window->actionFor(form().ActionGetDeamon), autoImport, autoImport}) {
        const bool wasOn = a->isChecked();
        a->trigger();
        Settle();
        EXPECT_NE(a->isChecked(), wasOn);
        EXPECT_EQ(path->isEnabled(), !form().AutoImportOn);
        EXPECT_EQ(window->widgetFor("ProgressBar1")->isVisible(), form().AutoImportOn);
    }
    EXPECT_EQ(form().InputGrid.Cells(1, 2), "3"); // read and handed on, unasked, when switched on
}

// The desk types in either grid while the timing file brings passings; what it typed wins.
TEST_F(SplitPanelTest, ATickNeverWritesUnderAnOpenEditor) {
    if (!form().SlitGridPanel.Visible()) window->actionFor(form().ToolButtonSlitPanel)->trigger();
    const std::string file = (home.path() / "000.csv").string();
    const struct Case {
        StringGrid* grid;
        int col, row;
        const char* held;
        std::vector<Cells> input; // rows 2 and 3 after Enter and a tick
        const char* after;        // the status text then
    } cases[] = {
        // The split grid loads, the transfer waits; team 3 would go where 97 was typed.
        {&form().InputGrid, 2, 2, "保留中：ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。",
         {{"1", "", "97", "", ""}, {"2", "4", "30", "", ""}},
         "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞに別の値がある 1 件は書き込みませんでした。 最後: 1区 1 行目"},
        // Nothing is loaded until the editor closes; then the file's passings go on.
        {&form().tempKukanGrid, 1, 2, "保留中：ｽﾘｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。",
         {{"1", "3", "20", "", ""}, {"2", "4", "30", "", ""}}, ""},
    };
    for (const Case& c : cases) {
        TMainForm::ClearGridData(form().InputGrid, -1);
        TMainForm::ClearGridData(form().tempKukanGrid, -1);
        ASSERT_TRUE(WriteFileBytes(file, "h\r\n"));
        form().Edit1.SetText(file);
        if (!form().AutoTransferNoAsk) window->actionFor(form().ActionGetDeamon)->trigger();
        window->actionFor(form().ActionSetAllCSV)->trigger();
        Settle();
        dialogs.ClearLog();
        GridView* view = grid(*c.grid);
        c.grid->SetCurrent(c.col, c.row);
        PressKey(view, Qt::Key_9, "9");
        auto* editor = qobject_cast<QLineEdit*>(view->editor());
        ASSERT_TRUE(editor);
        ASSERT_TRUE(WriteFileBytes(file, "h\r\na,b,3,20,1\r\na,b,4,30,1\r\n"));
        for (int tick = 0; tick < 2; ++tick) {
            form().Timer1.Fire();
            const std::string typed = editor->text().toStdString();
            EXPECT_EQ(std::tuple(typed, c.grid->Cells(c.col, c.row), form().LabelAutoImport.Caption()),
                      std::tuple("9", "9", c.held));
        }
        PressKey(editor, Qt::Key_7, "7");
        EXPECT_EQ(c.grid->Cells(c.col, c.row), "97");
        PressEnter(editor);
        form().Timer1.Fire();
        EXPECT_EQ(form().tempKukanGrid.Row(2), (Cells{"1", "3", "20", "1", form().TeamFieldText(3, 0)}));
        EXPECT_EQ((std::vector<Cells>{form().InputGrid.Row(2), form().InputGrid.Row(3)}), c.input);
        EXPECT_EQ(form().LabelAutoImport.Caption() + dialogs.Joined(), c.after); // no box
        window->actionFor(form().ActionSetAllCSV)->trigger(); // off for the next case
    }
}
