#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"
#include "mainwindow/TFormEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <functional>

// The settings dialog reached from the file menu, closed in each of its three ways.
class EnvDialogTest : public MainWindowTest {
  protected:
    QtDialogs qt; // the form's own messages still go through the scripted service

    template <typename W> static W* child(QWidget* w, const char* name) {
        W* c = w->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QAction* fileMenuItem(const QString& text) {
        for (QAction* m : window->menuBar()->actions())
            if (m->text() == QStringLiteral("ファイル(&F)") && m->menu())
                for (QAction* a : m->menu()->actions())
                    if (a->text() == text) return a;
        return nullptr;
    }
};

TEST_F(EnvDialogTest, EveryWayOfClosingTakesTheEdits) {
    form().exDenkoFilePath = "/desk/board/";
    open();
    dialogs.ClearLog();
    QAction* item = fileMenuItem(QStringLiteral("環境設定(&P)"));
    ASSERT_NE(item, nullptr);
    struct Way {
        const char* what;
        std::function<void(QWidget*)> edit, close;
    };
    const Way ways[] = {
        {"Escape, folder emptied and switch ticked",
         [](QWidget* w) {
             auto* path = child<QLineEdit>(w, "EditLogFilePath");
             path->selectAll();
             PressKey(path, Qt::Key_Backspace);
             child<QCheckBox>(w, "CheckChgPrt")->click();
         },
         [](QWidget* w) { PressKey(w, Qt::Key_Escape); }},
        {"close box, help address typed",
         [](QWidget* w) {
             auto* url = child<QLineEdit>(w, "EHelpURL");
             url->selectAll();
             TypeText(url, QStringLiteral("http://h/"));
         },
         [](QWidget* w) { w->close(); }},
        {"OK, macro name typed",
         [](QWidget* w) {
             auto* macro = child<QLineEdit>(w, "EMacroFileName");
             macro->selectAll();
             TypeText(macro, QStringLiteral("m.xls"));
         },
         [](QWidget* w) { child<QPushButton>(w, "OKBtn")->click(); }},
    };
    QString title, page, shownPath;
    for (const Way& way : ways) {
        dialogs.AnswerModal([this](FormBase& f) { return qt.ShowModal(f); });
        bool closed = false;
        WhenModal([&](QWidget* w) {
            title = w->windowTitle();
            page = child<QTabWidget>(w, "PageControl1")->tabText(0);
            shownPath = child<QLineEdit>(w, "EditLogFilePath")->text();
            way.edit(w);
            if (&way == &ways[0]) shot(w, "settings-dialog.png");
            way.close(w);
            closed = WaitFor([w] { return !w->isVisible(); }, 1000);
        });
        item->trigger();
        EXPECT_TRUE(closed) << way.what;
        EXPECT_EQ(title, QStringLiteral("環境設定"));
        EXPECT_EQ(page, QStringLiteral("ｵﾌﾟｼｮﾝ"));
        EXPECT_EQ(shownPath, QStringLiteral("/desk/board/")) << way.what;
    }
    EXPECT_EQ(dialogs.Joined(), "空白パス名には設定できませんでした。");
    EXPECT_EQ(form().exDenkoFilePath, "/desk/board/");
    EXPECT_TRUE(form().PRTCHG_NO);
    EXPECT_EQ(form().HelpUrl, "http://h/");
    EXPECT_EQ(form().exExcelMacroName, "m.xls");
}
