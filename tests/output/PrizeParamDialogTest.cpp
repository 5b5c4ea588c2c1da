// The prize settings dialog as the desk uses it through "賞ﾊﾟﾗﾒｰﾀ": what it shows,
// the paper-scaled defaults, the praise phrases, and what any close stores.
#include "output/TFormPrizeParam.h"
#include "output/TOutputForm.h"
#include "support/FakeDesk.h"
#include "support/ProgramFixture.h"

#include <functional>

namespace {

class PrizeParamDialog : public ProgramFixture {
  protected:
    FakeDesk desk;
    Printers printers{desk};
    void SetUp() override {
        ProgramFixture::SetUp();
        CurrentServices().shell = &desk;
        CurrentServices().printers = &printers;
    }
    PrizeSettingsBlock& S() { return OutputForm->PrizeSettings; }
    // Opens the dialog, lets the user act, closes it with the title bar's cross.
    void Use(const std::function<void(TFormPrizeParam&)>& act) {
        dialogs.AnswerModal([act](FormBase& f) {
            act(static_cast<TFormPrizeParam&>(f));
            return mrCancel;
        });
        OutputForm->OpenPrintParamExecute();
    }
    static std::vector<int> Values(SpinEdit* spins, int n) {
        std::vector<int> v;
        for (int i = 0; i < n; ++i)
            v.push_back(spins[i].Value());
        return v;
    }
};

} // namespace

TEST_F(PrizeParamDialog, ShowsTheSettingsAndAnyCloseStoresThem) {
    S().ClassAlias[1] = "一般";
    S().PrizeParamPage = 2;
    Use([](TFormPrizeParam& d) {
        EXPECT_EQ(d.PageControl1.ActivePageIndex(), 2);
        EXPECT_EQ(d.ComboBox1.Text(), "ＭＳ Ｐゴシック"); // not installed, still shown
        EXPECT_EQ(d.ComboBox1.Count(), 3);
        EXPECT_EQ(d.ComboBox2.Text(), "P1"); // no prize printer: the default shows
        EXPECT_EQ(d.RadioGroup1.Items(), (std::vector<std::string>{"クラス賞", "努力賞", "区間賞"}));
        EXPECT_EQ(d.LabeledEdit4.Text(), "社長 タヴレン次郎");
        EXPECT_EQ(d.ValueListEditor1.Row(2), (std::vector<std::string>{"B", "一般"}));
        EXPECT_TRUE(d.t_mgLS.Visible()); // landscape
        d.CSF[0].SetValue(500);          // beyond the range: the limit
        d.kj_gap[3].SetValue(5);
        d.CheckBox2.SetChecked(false);
        d.RadioGroup6.Click(0);
        EXPECT_FALSE(d.t_mgLS.Visible());
        EXPECT_FALSE(d.t_mgLSLabel.Visible());
        d.ValueListEditor1.SetCells(1, 10, "招待");
        d.PageControl1.SetActivePageIndex(3);
        d.CSpinEdit11MouseDown(d.CS_CRPos);
        EXPECT_EQ(d.CS_CRPos.Ime(), ImeMode::Close);
    });
    EXPECT_EQ(S().prnName, ""); // the combo box only follows the user
    EXPECT_EQ(S().fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(S().TeamFontSize[0], 100);
    EXPECT_EQ(S().kojin_gaps[3], 20);
    EXPECT_FALSE(S().OneIsWinner);
    EXPECT_EQ(S().TeamPaperOrientation, 0);
    EXPECT_EQ(S().ClassAlias[9], "招待");
    EXPECT_EQ(S().PrizeParamPage, 3);

    Use([](TFormPrizeParam& d) {
        d.ComboBox2.SetItemIndex(1);
        d.ComboBox2Change();
        d.ComboBox1.SetItemIndex(2);
        d.ComboBox1Change();
    });
    EXPECT_EQ(S().prnName, "P2");
    EXPECT_EQ(S().fontName, "Noto Serif CJK JP");
}

TEST_F(PrizeParamDialog, DefaultsScaledToThePaper) {
    S().TeamPaperOrientation = 0; // the landscape gap is hidden and keeps its value
    S().topMgLandscape = 7;
    Use([this](TFormPrizeParam& d) {
        d.RadioGroup2.Click(2);
        dialogs.AnswerDlg(mrYes);
        d.Button1.Execute();
        EXPECT_EQ(Values(d.CSF, 9), (std::vector<int>{80, 60, 46, 48, 37, 35, 32, 32, 23}));
        EXPECT_EQ(dialogs.Texts().back(), "ﾌｫﾝﾄｻｲｽﾞをA3用のﾃﾞﾌｫﾙﾄに設定してもいいですか？");
        dialogs.AnswerDlg(mrYes);
        d.Button3.Execute();
        EXPECT_EQ(Values(d.tm_gap, 7), (std::vector<int>{59, 62, 96, 124, 0, 0, 0}));

        d.RadioGroup4.Click(1);
        d.CSpinEdit2.SetValue(9);
        d.CS_date_gap2.SetValue(4);
        dialogs.AnswerDlg(mrYes);
        d.Button4.Execute();
        EXPECT_EQ(dialogs.Texts().back(), "余白をB4用のﾃﾞﾌｫﾙﾄに設定してもいいですか？");
        EXPECT_EQ(Values(d.kj_gap, 6), (std::vector<int>{65, 86, 106, 20, 0, 0}));
        EXPECT_EQ(d.CSpinEdit2.Value(), 3);
        EXPECT_EQ(d.CS_date_gap2.Value(), 0);
        dialogs.AnswerDlg(mrNo); // declined: nothing changes
        d.Button2.Execute();
        EXPECT_EQ(d.CSFont[0].Value(), 58);
    });
    EXPECT_EQ(S().topMgLandscape, 7);
    EXPECT_EQ(S().KPPSize, 1);
    EXPECT_EQ(S().PPSize, 2);
}

TEST_F(PrizeParamDialog, PraisePhrases) {
    S().gloryWord = "よく頑張りました";
    Use([this](TFormPrizeParam& d) {
        dialogs.AnswerInput(std::string(" "));
        d.Button6.Execute();
        dialogs.AnswerInput(std::nullopt);
        d.Button5.Execute();
        dialogs.AnswerInput(
            std::string("頭書のとおり優秀な成績をおさめられましたので")); // the standard, unchanged
        d.Button5.Execute();
    });
    EXPECT_EQ(dialogs.Joined(), "賞賛句をデフォルトに戻します。");
    EXPECT_TRUE(dialogs.Saw("賞賛句編集::よく頑張りました"));
    EXPECT_TRUE(dialogs.Saw("賞賛句編集::頭書のとおり優秀な成績をおさめられましたので"));
    EXPECT_EQ(S().gloryWord, "");
    EXPECT_EQ(S().bodyCont, "");
    Use([this](TFormPrizeParam& d) {
        dialogs.AnswerInput(std::string("ご健闘を"));
        d.Button5.Execute();
    });
    EXPECT_EQ(S().bodyCont, "ご健闘を");
}
