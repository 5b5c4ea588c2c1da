#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <functional>

// The settings dialog from "ファイル" → "環境設定(&P)", closed by Escape, the close box and OK:
// each way takes the switch ticked before it.
TEST_F(MainWindowTest, TheSettingsDialogTakesItsEditsHoweverItCloses) {
    QtDialogs qt;
    form().exDenkoFilePath = "/desk/board/";
    open();
    dialogs.ClearLog();
    QAction* item = nullptr;
    for (QAction* m : window->menuBar()->actions())
        if (m->text() == QStringLiteral("ファイル(&F)"))
            for (QAction* a : m->menu()->actions())
                if (a->text() == QStringLiteral("環境設定(&P)")) item = a;
    ASSERT_NE(item, nullptr);
    const std::pair<const char*, std::function<void(QWidget*)>> ways[] = {
        {"CheckChgPrt", [](QWidget* w) { PressKey(w, Qt::Key_Escape); }},
        {"CheckOleFont", [](QWidget* w) { w->close(); }},
        {"CheckAutoClose", [](QWidget* w) { w->findChild<QPushButton*>("OKBtn")->click(); }},
    };
    for (const auto& [check, close] : ways) {
        dialogs.AnswerModal([&qt](FormBase& f) { return qt.ShowModal(f); });
        WhenModal([&, check = check, close = close](QWidget* w) {
            EXPECT_EQ(w->windowTitle() + w->findChild<QTabWidget*>()->tabText(0),
                      QStringLiteral("環境設定ｵﾌﾟｼｮﾝ"));
            auto* path = w->findChild<QLineEdit*>("EditLogFilePath");
            EXPECT_EQ(path->text(), QStringLiteral("/desk/board/"));
            path->selectAll();
            PressKey(path, Qt::Key_Backspace);
            w->findChild<QCheckBox*>(check)->click();
            shot(w, "settings-dialog.png");
            close(w);
            EXPECT_TRUE(WaitFor([w] { return !w->isVisible(); }, 1000)) << check;
        });
        item->trigger();
    }
    EXPECT_EQ(dialogs.Joined(), "空白パス名には設定できませんでした。|空白パス名には設定できませんでした。|"
                                "空白パス名には設定できませんでした。");
    EXPECT_TRUE(form().PRTCHG_NO && form().NoUseOleFont && form().closeAutoRecForm);
}
