// The prize settings dialog on Qt: the result window's "賞ﾊﾟﾗﾒｰﾀ" opens it over the
// form, the user's acts reach the settings, closing it stores them.
#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"
#include "gui/SpinTyping.h"
#include "output/TOutputForm.h"
#include "support/FakeDesk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <chrono>
#include <thread>

class PrizeParamDialogQt : public MainWindowTest {
  protected:
    QtDialogs qt;
    FakeDesk desk;
    Printers printers{desk};
};

TEST_F(PrizeParamDialogQt, PagesFollowTheFormAndClosingStores) {
    CurrentServices().dialogs = &qt;
    CurrentServices().shell = &desk;
    CurrentServices().printers = &printers;
    PrizeSettingsBlock& s = OutputForm->PrizeSettings;
    s.TeamPaperOrientation = 0;
    s.PrizeParamPage = 1;
    bool seen = false;
    WhenModal([&](QWidget* w) {
        seen = true;
        auto* tabs = w->findChild<QTabWidget*>("PageControl1");
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->currentIndex(), 1);
        EXPECT_EQ(tabs->count(), 4);
        EXPECT_FALSE(w->findChild<QSpinBox*>("t_mgLS")->isVisibleTo(w)); // portrait
        auto* orientation = w->findChild<QGroupBox*>("RadioGroup6");
        orientation->findChildren<QRadioButton*>()[1]->click();
        EXPECT_TRUE(w->findChild<QSpinBox*>("t_mgLS")->isVisibleTo(w));
        EXPECT_TRUE(w->findChild<QLabel*>("t_mgLSLabel")->isVisibleTo(w));
        w->findChild<QSpinBox*>("CSF0")->setValue(77);
        w->findChild<QCheckBox*>("CBoxPmember")->click();
        auto* printer = w->findChild<QComboBox*>("ComboBox2");
        EXPECT_EQ(printer->currentText(), QStringLiteral("P1"));
        tabs->setCurrentIndex(2);
        auto* classTitle = w->findChild<QGroupBox*>("RadioGroup1");
        EXPECT_EQ(classTitle->findChildren<QRadioButton*>().size(), 3);
        shot(w, "prize-param-dialog.png");
        w->close();
    });
    OutputForm->OpenPrintParamExecute();
    CurrentServices().dialogs = &dialogs;
    EXPECT_TRUE(seen);
    EXPECT_EQ(s.TeamPaperOrientation, 1);
    EXPECT_EQ(s.TeamFontSize[0], 77);
    EXPECT_TRUE(s.NeedPrizeMember);
    EXPECT_EQ(s.PrizeParamPage, 2);
    EXPECT_EQ(s.prnName, "");
}

// A number typed beyond a spin's range is kept whole and becomes the nearest limit.
TEST_F(PrizeParamDialogQt, TypedValuesTakeTheNearestLimit) {
    CurrentServices().dialogs = &qt;
    CurrentServices().printers = &printers;
    PrizeSettingsBlock& s = OutputForm->PrizeSettings;
    WhenModal([&](QWidget* w) {
        for (auto [spin, typed] : {std::pair{"CSF0", "500"}, {"CSF1", "5"}, {"CSPZNum1", "999"}, {"CSPZNum2", "-5"}})
            TypeSpinValue(w->findChild<QSpinBox*>(spin), typed);
        w->close();
    });
    OutputForm->OpenPrintParamExecute();
    CurrentServices().dialogs = &dialogs;
    EXPECT_EQ(std::vector<int>({s.TeamFontSize[0], s.TeamFontSize[1], s.PrizeNums[0], s.PrizeNums[1]}),
              std::vector<int>({100, 10, 100, 0}));
}

TEST_F(PrizeParamDialogQt, WaitingForAViewerKeepsTheWindowsAndRestoresThem) {
    open();
    const Qt::WindowStates before = window->windowState();
    bool minimisedMeanwhile = false, ran = false;
    // The wait runs beside the event loop; a timer of the loop still fires meanwhile.
    QTimer::singleShot(20, [&] { minimisedMeanwhile = window->isMinimized(); });
    qt.RunMinimised([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ran = true;
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(minimisedMeanwhile);
    EXPECT_EQ(window->windowState(), before);
}
