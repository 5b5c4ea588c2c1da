// The result action and the result window: the questions and refusals before the
// window opens, the computation when it opens, the error and empty paths, the batch.
#include "support/RaceRoadScript.h"
#include "database/ResultRaceFixture.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOutputForm.h"

namespace {
const char* const kDummyQuestion = "欠場ﾁｰﾑのﾀﾞﾐｰ値が付加されていません。\nここで付加しますか？";
const char* const kDataError = "データにエラーがあります。処理を中止しました。";
} // namespace

class OutputWindow : public ResultRace {
  protected:
    // Teams 1-3 on 2 legs; team 4, when there, is absent.
    void ThreeTeams(int teams = 3) {
        OpenRace(2, teams);
        for (int t = 1; t <= teams; ++t)
            form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
        Leg(1, {{2, 2500}, {1, 2510}, {3, 2520}});
        Leg(2, {{1, 5000}, {2, 5010}, {3, 5100}});
    }
    TOutputForm& out() { return *OutputForm; }
    TKukanParamForm& chooser(FormBase& f) { return static_cast<TKukanParamForm&>(f); }

    // The chooser answered with item `item`; `check` looks at it first.
    void Choose(int item, std::function<void(TKukanParamForm&)> check = {}) {
        dialogs.AnswerModal([this, item, check](FormBase& f) {
            TKukanParamForm& d = chooser(f);
            if (check) check(d);
            d.KukanListBox.SetItemIndex(item);
            d.KukanListBoxClick();
            d.OKBtn.Execute();
            return f.ModalResultValue();
        });
    }
    void Cancel(std::function<void(TKukanParamForm&)> check = {}) {
        dialogs.AnswerModal([this, check](FormBase& f) {
            TKukanParamForm& d = chooser(f);
            if (check) check(d);
            d.KukanListBox.SetItemIndex(1);
            d.KukanListBoxClick();
            d.CancelBtn.Execute();
            return f.ModalResultValue();
        });
    }
    std::vector<std::string> placesColumn() {
        std::vector<std::string> out;
        for (int r = 2; r < OutputForm->OutputTTLGrid.RowCount(); r += 3)
            out.push_back(OutputForm->OutputTTLGrid.Cells(0, r));
        return out;
    }
};

TEST_F(OutputWindow, AbsentTeamDummiesMakeTheResultsFinal) {
    ThreeTeams(4);
    Op(4, 2);
    Alias(4, 301);
    out().RestartCorrected = true;
    dialogs.AnswerDlg(mrYes);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Joined(), kDummyQuestion);
    EXPECT_EQ(dialogs.LastButtons(), Btn::YesNoCancel);
    EXPECT_EQ(form().InputGrid.Row(5), (std::vector<std::string>{"4", "301", "90001", "301", "90002"}));
    EXPECT_TRUE(out().Visible());
    EXPECT_FALSE(out().RestartCorrected);
    EXPECT_TRUE(form().ResultFinal);
    // The absent team is out of the ranking and out of the view.
    EXPECT_EQ(out().RankedTeamCount, 3);
    EXPECT_EQ(placesColumn(),
              (std::vector<std::string>{"    1)  チーム1", "    2)  チーム2", "    3)  チーム3"}));
    EXPECT_TRUE(out().TopRunnersList.Enabled());
    EXPECT_TRUE(out().TopTeamPrize.Enabled());
    EXPECT_TRUE(out().ActionClipCopy.Enabled());
    EXPECT_FALSE(out().UpDownBtn.Enabled());
    EXPECT_EQ(dialogs.WaitDepth(), 0);
}

TEST_F(OutputWindow, WithoutDummiesTheResultsAreInterim) {
    ThreeTeams(4);
    Op(4, 2);
    dialogs.AnswerDlg(mrNo);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_TRUE(dialogs.Saw("途中情報"));
    EXPECT_EQ(form().InputGrid.Cells(1, 5), "");
    EXPECT_FALSE(form().ResultFinal);
    EXPECT_TRUE(out().Visible());
    EXPECT_FALSE(out().TopRunnersList.Enabled());
    EXPECT_FALSE(out().TopTeamPrize.Enabled());
    EXPECT_TRUE(out().PutKojinPrize.Enabled());
}

TEST_F(OutputWindow, CancelledQuestionOrChooserOpensNothing) {
    ThreeTeams(4);
    Op(4, 2);
    form().SetClassFilter("A");
    dialogs.AnswerDlg(mrCancel);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Joined(), kDummyQuestion);
    EXPECT_EQ(form().GetClassFilter(), "A"); // the question comes first
    EXPECT_EQ(form().InputGrid.Cells(1, 5), "");

    Op(4, 0);
    Leg(1, {{2, 2500}, {1, 2510}, {3, 2520}, {4, 2530}});
    out().Tag = 2;
    Cancel([](TKukanParamForm& d) {
        EXPECT_EQ(d.Caption(), "出力ｵﾌﾟｼｮﾝ");
        EXPECT_EQ(d.KukanListBox.Items(),
                  (std::vector<std::string>{"全区間成績", "第 1 区成績", "第 2 区成績"}));
        EXPECT_EQ(d.KukanListBox.ItemIndex(), 2); // the view shown last
    });
    form().OutputResultExecute();
    EXPECT_EQ(out().Tag, 2);
    EXPECT_EQ(form().GetClassFilter(), "");
    EXPECT_FALSE(out().Visible());
    EXPECT_FALSE(DataMdl->Db()->TableExists(kResultTable));
}

TEST_F(OutputWindow, ClassChooserFiltersTheOverallResults) {
    ThreeTeams();
    for (int t : {1, 3})
        Class(t, "B");
    Class(2, "A");
    out().Tag = 9; // out of range: the chooser starts at the overall results
    Choose(0, [](TKukanParamForm& d) { EXPECT_EQ(d.KukanListBox.ItemIndex(), 0); });
    Cancel([](TKukanParamForm& d) {
        EXPECT_EQ(d.Caption(), "ﾌｨﾙﾀｵﾌﾟｼｮﾝ");
        EXPECT_EQ(d.KukanListBox.Items(),
                  (std::vector<std::string>{"全クラス", "A クラスのみ", "B クラスのみ"}));
        EXPECT_EQ(d.KukanListBox.ItemIndex(), 0);
    });
    form().OutputResultExecute();
    EXPECT_EQ(form().GetClassFilter(), "");
    EXPECT_FALSE(out().Visible());

    Choose(0);
    Choose(2);
    form().OutputResultExecute();
    EXPECT_EQ(form().GetClassFilter(), "B");
    EXPECT_EQ(out().StatusBar1.Panel(0), "Bクラスでフィルター中です。");
    EXPECT_EQ(out().RankedTeamCount, 2);
    EXPECT_EQ(placesColumn(), (std::vector<std::string>{"    1)  チーム1", "    2)  チーム3"}));

    // A leg view never asks for a class, and the filter is gone.
    dialogs.AnswerDlg(mrYes);
    Choose(1);
    form().OutputResultExecute();
    EXPECT_EQ(form().GetClassFilter(), "");
    EXPECT_EQ(out().StatusBar1.Panel(0), "");
    EXPECT_EQ(out().RankedTeamCount, 3);
    EXPECT_TRUE(out().OutputGrid.Visible());
    EXPECT_FALSE(out().OutputTTLGrid.Visible());
}

TEST_F(OutputWindow, OpenAdvancedStartWindowStopsTheAction) {
    ThreeTeams();
    form().SetClassFilter("B");
    FormKuriage->Show();
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Joined(), "繰上フォームが開いています。\n閉じてからこの処理を実行して下さい");
    EXPECT_EQ(form().GetClassFilter(), "");
    EXPECT_FALSE(out().Visible());
    EXPECT_FALSE(DataMdl->Db()->TableExists(kResultTable));
}

TEST_F(OutputWindow, DataErrorShowsTheRawWorkTable) {
    ThreeTeams();
    Kuriage(1, "2515"); // team 3 passes at 25'20": corrected
    Leg(2, {{1, 5000}, {9, 5010}, {3, 5100}});
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Texts().back(), kDataError);
    const TOutputForm& o = out();
    EXPECT_TRUE(o.tmpDBGrid.Visible());
    EXPECT_FALSE(o.OutputTTLGrid.Visible());
    const StringGrid& g = o.tmpDBGrid;
    ASSERT_EQ(g.ColCount(), 13);
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(0, 0), "ﾅﾝﾊﾞｰ");
    EXPECT_EQ(g.Cells(1, 0), "通過ﾀｲﾑ1区");
    EXPECT_EQ(g.Cells(6, 0), "繰上ｽｲｯﾁ1区");
    EXPECT_EQ(g.Cells(10, 0), "区間順位2区");
    // Row of team 2: times drawn as times, flush right; small values centred.
    EXPECT_EQ(g.Cells(1, 2), "1500");
    CellStyle time = o.tmpDBGridDrawColumnCell(1, 2);
    EXPECT_EQ(time.Text, "25'00\"");
    EXPECT_EQ(time.Align, CellAlign::Right);
    CellStyle place = o.tmpDBGridDrawColumnCell(5, 2);
    EXPECT_EQ(place.Text, g.Cells(5, 2));
    EXPECT_EQ(place.Align, CellAlign::Center);
    EXPECT_EQ(place.Background, -1);
    // Team 3 was corrected at relay point 1.
    EXPECT_EQ(g.Cells(6, 3), "1");
    EXPECT_EQ(o.tmpDBGridDrawColumnCell(2, 3).Background, TOutputForm::kSkyBlue);
    EXPECT_EQ(dialogs.WaitDepth(), 0);
}

TEST_F(OutputWindow, NoTeamToRank) {
    OpenRace(2, 2);
    Op(1, 2);
    Op(2, 2);
    dialogs.AnswerDlg(mrYes);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Texts().back(), "出場チームなし");
    EXPECT_TRUE(out().Visible());
    EXPECT_FALSE(out().OutputTTLGrid.Visible());
    EXPECT_FALSE(out().tmpDBGrid.Visible());
}

TEST_F(OutputWindow, OnlyTheResultActionRecomputes) {
    ThreeTeams();
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(placesColumn()[0], "    1)  チーム1");
    Leg(2, {{2, 4900}, {1, 5000}, {3, 5100}});
    // Minimised and restored: the same results, no question.
    out().Hide();
    out().Show();
    EXPECT_EQ(placesColumn()[0], "    1)  チーム1");
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Joined(), "処理はすでに実行されています\n再計算しますか ?");
    EXPECT_EQ(placesColumn()[0], "    1)  チーム2");
}

TEST_F(OutputWindow, KeptWorkTableIsStillCheckedAndRanked) {
    ThreeTeams();
    Choose(0);
    form().OutputResultExecute();
    Leg(2, {{1, 5000}, {9, 5010}, {3, 5100}});
    dialogs.AnswerDlg(mrNo);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_EQ(dialogs.Texts().back(), kDataError);
    EXPECT_TRUE(out().tmpDBGrid.Visible());
}

TEST_F(OutputWindow, BatchRefusesAFilterAndRunsBothOrdersOfALegView) {
    ThreeTeams();
    Choose(2);
    form().OutputResultExecute();
    form().SetClassFilter("A");
    out().Macro.Execute();
    EXPECT_EQ(dialogs.Texts().back(), "ｸﾗｽﾌｨﾙﾀｰが掛っているので一括処理はできません。");
    EXPECT_FALSE(out().BatchMode);

    form().SetClassFilter("");
    form().taikaiBestGrid.SetCells(1, 1, "2024/01/14"); // the Excel step writes the date
    out().BatchMessages = "old";
    dialogs.ClearLog();
    out().Macro.Execute();
    // The batch starts its notices afresh, collects them and shows them once at its end:
    // the pages of both orders, the team pages, then the outputs not built yet.
    ASSERT_EQ(dialogs.Texts().size(), 2u) << dialogs.Joined();
    EXPECT_EQ(dialogs.Texts()[0], "一括処理終了!");
    const std::string notices = dialogs.Texts()[1]; // Texts() is a copy: keep the text
    const std::string dir = (form().DataFolder / "DataHTML").string() + "/";
    EXPECT_EQ(notices.find("old"), std::string::npos);
    EXPECT_EQ(notices.find(dir + "leg0_02.htmlが作成されました。\n3 個のﾁｰﾑ成績を出力しました。\n" + dir +
                           "leg2_02.htmlが作成されました。\n" + dir + "leg1_02.htmlが作成されました。\n"),
              0u);
    // The batch is over: an output button speaks for itself again.
    EXPECT_FALSE(out().BatchMode);
    EXPECT_EQ(out().OrderMode, 0);
    EXPECT_EQ(out().UpDownBtn.ImageIndex(), TOutputForm::kTeamOrderImage);
    EXPECT_TRUE(out().Visible());
    EXPECT_EQ(dialogs.WaitDepth(), 0);
}

TEST_F(OutputWindow, BatchOnTheOverallViewShowsItsNoticesAndMayClose) {
    ThreeTeams();
    form().taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    Choose(0);
    form().OutputResultExecute();
    dialogs.ClearLog();
    form().taikaiBestGrid.SetCells(1, 1, "2024/01/14"); // the Excel step writes the date
    form().closeAutoRecForm = true;
    out().Macro.Execute();
    ASSERT_EQ(dialogs.Texts().size(), 1u) << dialogs.Joined(); // the collected notices, once
    EXPECT_NE(dialogs.Texts()[0].find("が作成されました。"), std::string::npos);
    EXPECT_FALSE(out().Visible());
    EXPECT_FALSE(out().BatchMode);
    // The next showing ends the batch mode.
    dialogs.AnswerDlg(mrYes);
    Choose(0);
    form().OutputResultExecute();
    EXPECT_FALSE(out().BatchMode);
}

// A chooser cancelled over an open, filtered view leaves the view's filter and leg.
TEST_F(OutputWindow, CancelOverAFilteredViewKeepsItsFilterAndTheBatchRefuses) {
    ThreeTeams();
    for (int t : {1, 3})
        Class(t, "B");
    Class(2, "A");
    Choose(0);
    Choose(2);
    form().OutputResultExecute();
    ASSERT_TRUE(out().Visible());
    Cancel();
    form().OutputResultExecute();
    EXPECT_EQ(form().GetClassFilter(), "B");
    EXPECT_EQ(out().Tag, 0);
    EXPECT_EQ(out().StatusBar1.Panel(0), "Bクラスでフィルター中です。");
    out().Macro.Execute();
    EXPECT_EQ(dialogs.Texts().back(), "ｸﾗｽﾌｨﾙﾀｰが掛っているので一括処理はできません。");
}

// The main road as a user goes it: a new race, 3 teams and 2 legs, the passing times
// typed, the overall results.
class MainRoad : public OutputWindow {};

TEST_F(MainRoad, FromANewRaceToTheOverallPlaces) {
    form().wireOutputHandlers();
    form().FormShow();
    ScriptRaceFolder(dialogs, "春の駅伝");
    form().MakeKeyNameExecute();
    ScriptOpenEdition(dialogs, home.path() / "tvnData" / "春の駅伝" / "大会情報.db", 1);
    form().OpenKeyNameExecute();
    ASSERT_TRUE(form().TaikaiOpen);

    form().KukanSpinNum.SetValue(2);
    form().SankaSpinNum.SetValue(3);
    for (int t = 1; t <= 3; ++t)
        form().TeamEntryGridSetEditText(1, t, "高校" + IntToStr(t));
    // The runner tab: each team's runners typed, stored when the next team is shown.
    form().MainPage.SetActivePageIndex(1);
    form().EntryTab.SetActivePageIndex(1);
    for (int t : {1, 2, 3, 1}) {
        form().TeamUpDownChanging();
        form().TeamUpDown.SetValue(t);
        form().TeamUpDownMouseDown();
        if (form().RunnerEntryGrid.Cells(1, 2).empty())
            for (int slot = 1; slot <= 2; ++slot) {
                form().RunnerEntryGridSetEditText(1, slot + 1, "選手");
                form().RunnerEntryGridSetEditText(2, slot + 1, IntToStr(t * 10 + slot));
            }
    }
    form().MainPage.SetActivePageIndex(2);
    form().InputGridEnter(form().InputGrid);
    const std::vector<std::vector<std::string>> typed = {
        {"3", "2450", "1", "5000"}, {"1", "2500", "3", "5010"}, {"2", "2510", "2", "5020"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            form().InputGridSetEditText(form().InputGrid, c + 1, r + 2, typed[r][c]);
    Choose(0);
    ASSERT_TRUE(form().OutputResult.Enabled());
    form().OutputResult.Execute();

    ASSERT_TRUE(out().Visible()) << dialogs.Joined();
    EXPECT_EQ(out().OutputTTLGrid.RowCount(), 10);
    std::vector<std::string> places;
    for (int r = 2; r < 10; r += 3)
        places.push_back(out().OutputTTLGrid.Cells(0, r));
    EXPECT_EQ(places, (std::vector<std::string>{"    1)  高校1", "    2)  高校3", "    3)  高校2"}));
    EXPECT_EQ(out().OutputTTLGrid.Cells(1, 3), "( 2) 25'00\"");
    EXPECT_EQ(out().OutputTTLGrid.Cells(2, 3), "★( 1) 25'00\"");
    EXPECT_TRUE(StartsWith(out().OutputTTLGrid.Cells(2, 1), "選手"));
    EXPECT_TRUE(form().ResultFinal);
}
