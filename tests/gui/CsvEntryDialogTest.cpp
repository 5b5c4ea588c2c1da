#include "gui/GridView.h"
#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"
#include "mainwindow/TCSVEntry.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>

#include <fstream>

class CsvEntryDialogTest : public MainWindowTest {
protected:
    QtDialogs qt;

    static void press(GridView* v, int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
        const QPoint p = v->visualRect(v->model()->index(row, col)).center();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, p, v->viewport()->mapToGlobal(p), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, mods);
            QApplication::sendEvent(v->viewport(), &e);
        }
    }
};

// Shift and Ctrl with either button reach the window's mouse handler; "戻る" closes it.
TEST_F(CsvEntryDialogTest, MouseMarksTheRangeAndFillsTheBoxes) {
    TCSVEntry& e = *program->csvEntry;
    form().SankaSpinNum.SetValue(20);
    StringGrid& g = e.StringGrid1;
    g.SetColCount(3);
    g.SetRowCount(3);
    const char* cells[3][3] = {{"No", "チーム", "1区"}, {"12", " 中央走友会 ", "山田 太郎"}, {"13", "東西", "鈴木"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) g.SetCellsQuiet(c, r, cells[r][c]);
    form().CSVEntryGetOpt = true;
    bool coach = false;
    WhenModal([&](QWidget* w) {
        auto* v = w->findChild<GridView*>(QStringLiteral("StringGrid1"));
        ASSERT_NE(v, nullptr);
        coach = w->findChild<QCheckBox*>(QStringLiteral("getOpt"))->isChecked();
        press(v, 1, 1, Qt::LeftButton, Qt::NoModifier);
        press(v, 2, 2, Qt::LeftButton, Qt::ShiftModifier);
        press(v, 0, 1, Qt::LeftButton, Qt::ControlModifier);
        press(v, 1, 1, Qt::RightButton, Qt::ControlModifier);
        for (QAction* a : w->findChild<QMenuBar*>()->actions())
            if (a->text() == QStringLiteral("戻る(&E)")) a->trigger();
    });
    e.FormShow();
    qt.ShowModal(e);
    EXPECT_TRUE(coach) << "the window shows the setting";
    EXPECT_TRUE(e.RangeSet);
    EXPECT_EQ((std::vector<int>{e.RangeC0, e.RangeR0, e.RangeC1, e.RangeR1}), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(e.editNoCard.Text(), "12");
    EXPECT_EQ(e.editTeamName.Text(), "中央走友会");
    EXPECT_EQ(e.ModalResultValue(), mrOk);
}

// The open dialog for several files gives them all, in the order chosen.
TEST_F(CsvEntryDialogTest, OpenDialogForSeveralFilesGivesThemAll) {
    for (const char* name : {"001.csv", "002.csv"}) std::ofstream(home.path() / name) << "1,2\n";
    WhenModal([](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->fileMode(), QFileDialog::ExistingFiles);
        dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("\"002.csv\" \"001.csv\""));
        QMetaObject::invokeMethod(dlg, "accept");
    });
    const auto files = qt.OpenFiles({"", "CSV|*.csv|TXT|*.txt", home.path().string(), "", "csv"});
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(*files, (std::vector<std::string>{(home.path() / "002.csv").string(), (home.path() / "001.csv").string()}));
    WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(qt.OpenFiles({"", "CSV|*.csv", home.path().string(), "", "csv"}), std::nullopt);
}
