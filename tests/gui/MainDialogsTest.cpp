#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>

#include <filesystem>

class MainDialogsTest : public MainWindowTest {
protected:
    QtDialogs qt; // the dialogs' own handlers still answer through the scripted service

    template <typename W> static W* child(QWidget* w, const char* name) {
        W* c = w->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    void fillEditions(TSelectDataForm& f) {
        StringGrid& g = f.getDataGrid;
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetFixedCols(0);
        g.SetFixedRows(1);
        const char* rows[][3] = {{"回", "開催日", "大会名称"},
                                 {"1", "2023/11/03", "第1回 タヴレン記念駅伝"},
                                 {"2", "2024/11/03", "第2回 タヴレン記念駅伝"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) g.SetCellsQuiet(c, r, rows[r][c]);
    }
};

TEST_F(MainDialogsTest, TheEditionListOpensTheChosenEdition) {
    TSelectDataForm& sel = *program->selectDataForm;
    fillEditions(sel);
    dialogs.AnswerDlg(mrYes);
    QString shown;
    WhenModal([&](QWidget* w) {
        auto* list = child<GridView>(w, "getDataGrid");
        shown = list->model()->index(2, 2).data().toString();
        ClickAt(list->viewport(), list->visualRect(list->model()->index(2, 1)).center());
        child<QPushButton>(w, "cmdSelect")->click();
    });
    EXPECT_EQ(qt.ShowModal(sel), TSelectDataForm::mrOpenEdition);
    EXPECT_EQ(shown, QStringLiteral("第2回 タヴレン記念駅伝"));
    EXPECT_TRUE(dialogs.Saw("2 回大会を開きますか？")) << dialogs.Joined();
    EXPECT_EQ(form().TaikaiNo, 2);

    // The close box is the cancel button.
    WhenModal([](QWidget* w) { w->close(); });
    EXPECT_EQ(qt.ShowModal(sel), TSelectDataForm::mrCancelSelect);
}

TEST_F(MainDialogsTest, TheFolderDialogListsTheRacesAndTakesTheNewName) {
    const auto root = home.path() / "tvnData";
    std::filesystem::create_directories(root / "市民駅伝");
    form().DataFolder = root;
    TcurrTaikaiDir& dir = *program->currTaikaiDir;
    QStringList folders;
    WhenModal([&](QWidget* w) {
        auto* list = child<QListWidget>(w, "currDirBox");
        for (int i = 0; i < list->count(); ++i) folders << list->item(i)->text();
        auto* name = child<QLineEdit>(w, "TaikaiEdit");
        name->setFocus();
        TypeText(name, QStringLiteral("新駅伝"));
        child<QPushButton>(w, "OKBtn")->click();
    });
    EXPECT_EQ(qt.ShowModal(dir), mrOk);
    EXPECT_EQ(folders, QStringList{QStringLiteral("市民駅伝")});
    EXPECT_EQ(form().NewTaikaiDir, "新駅伝");
}

TEST_F(MainDialogsTest, TheAdvancedStartWindowClosesAsItsFormSays) {
    open();
    form().KukanSpinNum.SetValue(3);
    openRace();
    TFormKuriage& kuriage = *program->formKuriage;
    form().OpenKuriageFormExecute();
    auto* w = child<QWidget>(window.get(), "TFormKuriage");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("繰上/再出発"));
    EXPECT_EQ(child<QToolBar>(w, "ToolBar1")->actions().size(), 6);

    EXPECT_TRUE(w->close());
    EXPECT_FALSE(kuriage.Visible());

    // A start after everyone passed (nobody has) makes the close box ask; Cancel keeps it.
    form().OpenKuriageFormExecute();
    EXPECT_TRUE(w->isVisible());
    auto* view = child<GridView>(w, "KuriageGrid");
    kuriage.KuriageGrid.SetCurrent(1, 1);
    PressKey(view, Qt::Key_9, "9");
    ASSERT_NE(view->editor(), nullptr);
    TypeText(view->editor(), "3000");
    PressEnter(view->editor());
    EXPECT_EQ(kuriage.KuriageGrid.Cells(1, 1), "93000");
    EXPECT_TRUE(kuriage.Edited());
    dialogs.AnswerDlg(mrCancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(kuriage.Visible());
    EXPECT_TRUE(dialogs.Saw("ﾗｽﾄ差がﾏｲﾅｽでない繰上実施ﾀｲﾑが設定されています。\n設定値は意味を持ちませんがいいですか？"));
}
