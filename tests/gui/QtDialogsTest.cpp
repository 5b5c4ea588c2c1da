#include "gui/FormRegistry.h"
#include "gui/GuiTestApp.h"
#include "gui/QtDialogs.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <fstream>
#include <functional>

namespace {

QStringList ButtonTexts(QMessageBox* box) {
    QStringList out;
    for (QAbstractButton* b : box->buttons()) out << b->text();
    return out;
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

} // namespace

class QtDialogsTest : public GuiTest {
protected:
    QtDialogs dialogs;
};

TEST(FileFilterToQt, TurnsPlatformFiltersIntoQtOnes) {
    EXPECT_EQ(FileFilterToQt("大会情報|大会情報.db"), QStringLiteral("大会情報 (大会情報.db)"));
    EXPECT_EQ(FileFilterToQt("CSV|*.csv;*.txt|全て|*.*"), QStringLiteral("CSV (*.csv *.txt);;全て (*)"));
    EXPECT_EQ(FileFilterToQt(""), QString());
}

TEST_F(QtDialogsTest, MessageDlgHasJapaneseButtonsAndReturnsTheChoice) {
    QStringList texts;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        texts = ButtonTexts(box);
        icon = box->icon();
        ButtonWithText(box, QStringLiteral("いいえ"))->click();
    });
    EXPECT_EQ(dialogs.MessageDlg("終了しますか ?", MsgKind::Confirmation, Btn::YesNo), mrNo);
    texts.sort();
    QStringList expected{QStringLiteral("いいえ"), QStringLiteral("はい")};
    expected.sort();
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(icon, QMessageBox::Question);

    WhenModal([](QWidget* w) { ButtonWithText(qobject_cast<QMessageBox*>(w), QStringLiteral("無視"))->click(); });
    EXPECT_EQ(dialogs.MessageDlg("?", MsgKind::Warning, Btn::OKIgnore), mrIgnore);
}

TEST_F(QtDialogsTest, ShowMessageCarriesTheApplicationTitle) {
    QString title, text;
    WhenModal([&](QWidget* w) {
        title = w->windowTitle();
        text = qobject_cast<QMessageBox*>(w)->text();
        qobject_cast<QMessageBox*>(w)->buttons().front()->click();
    });
    dialogs.ShowMessage("回数が設定されていません。");
    EXPECT_EQ(title, QStringLiteral("theTavren"));
    EXPECT_EQ(text, QStringLiteral("回数が設定されていません。"));
}

TEST_F(QtDialogsTest, InputQueryGivesTheTextOrNothing) {
    WhenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QInputDialog*>(w);
        dlg->setTextValue(QStringLiteral("第5回"));
        dlg->accept();
    });
    EXPECT_EQ(dialogs.InputQuery("大会", "名前", "x"), std::optional<std::string>("第5回"));
    WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.InputQuery("大会", "名前", "x"), std::nullopt);
}

TEST_F(QtDialogsTest, ShowModalRunsTheRegisteredDialogUntilTheFormEndsIt) {
    FormBase form("TestModalForm");
    RegisterDialog("TestModalForm", [](FormBase& f, QWidget* parent) {
        auto* dlg = new QDialog(parent);
        QTimer::singleShot(0, dlg, [&f] { f.SetModalResult(mrYes); });
        return dlg;
    });
    EXPECT_EQ(dialogs.ShowModal(form), mrYes);

    RegisterDialog("TestModalForm", [](FormBase&, QWidget* parent) {
        auto* dlg = new QDialog(parent);
        QTimer::singleShot(0, dlg, &QDialog::reject);
        return dlg;
    });
    EXPECT_EQ(dialogs.ShowModal(form), mrCancel); // the result of the last showing is not kept
}

TEST_F(QtDialogsTest, ShowModalWithoutAWindowSaysSoAndCancels) {
    FormBase form("TestUnregisteredForm");
    form.SetCaption("結果出力");
    QString text;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        text = box->text();
        box->buttons().front()->click();
    });
    EXPECT_EQ(dialogs.ShowModal(form), mrCancel);
    EXPECT_TRUE(text.contains(QStringLiteral("結果出力")));
}

TEST_F(QtDialogsTest, OpenFileStartsAtTheGivenFileWithTheFilter) {
    TempDir dir;
    auto file = dir.path() / "大会情報.db";
    std::ofstream(file) << "x";
    QString shownDir;
    QStringList filters;
    WhenModal([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        shownDir = dlg->directory().absolutePath();
        filters = dlg->nameFilters();
        QMetaObject::invokeMethod(dlg, "accept"); // the file name is selected: as the Open button does
    });
    auto chosen = dialogs.OpenFile({"開く", "大会情報|大会情報.db", "", file.string(), ""});
    EXPECT_EQ(shownDir.toStdString(), dir.path().string());
    EXPECT_EQ(filters, QStringList{QStringLiteral("大会情報 (大会情報.db)")});
    EXPECT_EQ(chosen, std::optional<std::string>(file.string()));

    WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.SaveFile({"保存", "CSV|*.csv", dir.path().string(), "", "csv"}), std::nullopt);
}

// The race file's own name as the filter: the dialog lists it, and no other table file;
// a proposed name that is not in the folder is not proposed.
TEST_F(QtDialogsTest, OpenDialogListsTheRaceFileOfARaceFolder) {
    TempDir dir;
    const auto race = dir.path() / "race1";
    std::filesystem::create_directories(race);
    for (const char* name : {"大会情報.db", "temptable.db", "チーム情報001.db"}) std::ofstream(race / name) << "x";
    QStringList listed;
    QString proposed = QStringLiteral("?");
    auto look = [&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        auto* model = dlg->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        const QModelIndex root = model->index(dlg->directory().absolutePath());
        WaitFor([&] { return model->rowCount(root) > 0; }, 3000);
        listed.clear();
        for (int r = 0; r < model->rowCount(root); ++r) {
            const QModelIndex i = model->index(r, 0, root);
            const bool shown = !model->nameFilterDisables() || (model->flags(i) & Qt::ItemIsEnabled);
            if (shown && !model->isDir(i)) listed << model->fileName(i);
        }
        proposed = dlg->findChild<QLineEdit*>()->text();
        dlg->reject();
    };
    WhenModal(look);
    dialogs.OpenFile({"開く", "大会情報|大会情報.db", race.string(), "", ""});
    EXPECT_EQ(listed, QStringList{QStringLiteral("大会情報.db")});

    WhenModal(look);
    dialogs.OpenFile({"開く", "大会情報|大会情報.db", "", (dir.path() / "大会情報.db").string(), ""});
    EXPECT_EQ(proposed, QString());
}

TEST_F(QtDialogsTest, HourglassIsCountedInDepth) {
    dialogs.BeginWait();
    dialogs.BeginWait();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialogs.EndWait();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    dialogs.EndWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    dialogs.EndWait(); // one too many is harmless
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
