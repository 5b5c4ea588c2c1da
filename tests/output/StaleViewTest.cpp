// A result view whose input changed after it was shown: every output asks once whether to
// compute again; No writes nothing, Yes publishes what a new showing publishes.
#include "mainwindow/TFormDelayInf.h"
#include "platform/Report.h"
#include "support/F1Race.h"

#include <functional>
#include <map>
#include <tuple>

namespace {

const char* const kStale = "成績の表示後に入力データが変更されています。\n再計算してから出力しますか ?";
const char* const kStaleTitle = "結果出力  (入力変更後 未再計算)";

// Every output of the overall view; the order button only re-sorts a leg view.
Action TOutputForm::*const kOutputs[] = {
    &TOutputForm::ActionClipCopy, &TOutputForm::TeamResultExcel, &TOutputForm::N6, &TOutputForm::N7,
    &TOutputForm::PutToWeb, &TOutputForm::PutToDenko, &TOutputForm::PutToExcel, &TOutputForm::Macro,
    &TOutputForm::OpenResultRep, &TOutputForm::PutKojinPrize, &TOutputForm::TopRunnersList,
    &TOutputForm::TopTeamPrize};

} // namespace

class StaleView : public F1Race {
  protected:
    struct Change {
        const char* what;
        std::function<void()> apply, undo = {};
    };

    void SetUp() override {
        F1Race::SetUp();
        BuildF1();
        form().useDnkoDefault = true;
        form().PRTCHG_NO = true;
        // A third leg typed and then counted out: raising the count brings it back.
        form().KukanSpinNum.SetValue(3);
        LegInfo(3, "ゴール2", "4", "");
        Leg(3, {{2, 4800}, {1, 4810}, {3, 4900}});
        for (int t = 1; t <= 3; ++t)
            PutRunner(t, 3, {"三区", Format("%d号", t), "", ""});
        form().KukanSpinNum.SetValue(2);
    }

    // A showing of the overall view as the result action makes it.
    void ShowFresh() {
        if (ResultTableLegs() >= form().KukanNum) dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
        ShowF1(0);
        dialogs.ClearLog();
    }
    void Run(Action& output) {
        if (&output == &OutputForm->PutToExcel) // the workbook's own two questions, answered No
            for (int i = 0; i < 2; ++i)
                dialogs.AnswerDlg(mrNo);
        output.Execute();
    }
    // What an output leaves for the desk: the race folder's files, the clipboard, the
    // report last previewed.
    std::map<std::string, std::string> Effects() {
        std::map<std::string, std::string> e = Published();
        e["clipboard"] = clipboard.GetText();
        for (const ReportPage& p : static_cast<RecordingReports&>(*CurrentServices().reports).LastPages)
            for (const PageItem& item : p.Items)
                for (const std::string& line : item.Lines)
                    e["report"] += line + "\n";
        return e;
    }
};

TEST_F(StaleView, EveryOutputAsksOnceNoWritesNothingYesPublishesANewShowing) {
    const Change changes[] = {
        {"区間数 2→3", [this] { form().KukanSpinNum.SetValue(3); },
         [this] { form().KukanSpinNum.SetValue(2); }},
        {"東京 35'10\"", [this] { Cell(2, 1, "1", "3510"); }, [this] { Cell(2, 1, "1", "3440"); }},
    };
    for (const Change& change : changes)
        for (Action TOutputForm::*action : kOutputs) {
            Action& output = (*OutputForm).*action;
            SCOPED_TRACE(std::string(change.what) + " / " + output.Name());
            ShowFresh();
            clipboard.SetText("before");
            change.apply();
            const auto before = Effects();
            dialogs.AnswerDlg(mrNo);
            output.Execute();
            EXPECT_EQ(dialogs.Joined(), kStale);
            EXPECT_EQ(Effects(), before); // nor a report previewed

            dialogs.ClearLog();
            dialogs.AnswerDlg(mrYes);
            Run(output);
            const std::vector<std::string> told = dialogs.Texts();
            EXPECT_EQ(std::count(told.begin(), told.end(), kStale), 1);
            EXPECT_EQ(OutputForm->Caption() + OutputForm->StatusBar1.Panel(1), "結果出力");
            const auto recomputed = Effects();
            ShowFresh();
            Run(output);
            EXPECT_EQ(recomputed, Effects());
            change.undo();
        }
}

// Each input changed by the road the desk takes to change it; then what changes none.
TEST_F(StaleView, WhatTheComputationReadsDecidesStaleness) {
    TMainForm& f = form();
    const Change changes[] = {
        {"通過ﾀｲﾑ", [&] { Cell(1, 1, "2", "1521"); }},
        {"スプリット", [&] { f.tempKukanGrid.SetCells(1, 2, "3"); }},
        {"チーム名", [&] { TeamRow(1, "東京B", "3500"); }},
        {"クラス", [&] { Class(2, "A"); }, [&] { Class(2, ""); }},
        {"OP", [&] { Op(3, 1); }},
        {"選手名", [&] { f.RunnerEntryGrid.SetCells(1, 2, "木村"); }},
        {"距離", [&] { f.KukanInfGrid.SetCells(2, 2, "6.2"); }},
        {"大会記録", [&] { f.taikaiBestGrid.SetCells(3, 1, "3430"); }},
        {"補欠数", [&] { f.HoketuSpinNum.SetValue(2); }},
        {"参加ﾁｰﾑ数", [&] { f.SankaSpinNum.SetValue(4); }},
        {"繰上", [&] { Kuriage(1, "1600"); }},
        {"待機",
         [&] {
             FormDelayInf->DelayLeg = 1;
             FormDelayInf->DelayStringGrid.SetCells(0, 1, "2");
             FormDelayInf->DelayStringGrid.SetCells(1, 1, "10");
             f.SaveDelayGrid();
         }},
        {"学年", [&] { dialogs.AnswerDlg(mrYes); f.ShiftSchoolYears(1); }},
        {"選手交換", [&] { f.SwapRunnerRecords(1, 1, 1, 2); }},
        {"1/100", [&] { f.chk100.SetChecked(true); }, [&] { f.chk100.SetChecked(false); }},
    };
    for (const auto& [what, change, undo] : changes) {
        ShowFresh();
        change();
        EXPECT_EQ(std::tuple(OutputForm->ViewStale(), OutputForm->Caption(),
                             OutputForm->StatusBar1.Panel(1).empty()),
                  std::tuple(true, kStaleTitle, false))
            << what;
        if (undo) undo();
    }
    const Change kept[] = {
        {"他チームの選手", [&] { f.ShowRunnerTeam(2); }},
        {"ページ", [&] { f.MainPage.SetActivePageIndex(1); }},
        {"繰上画面", [&] { FormKuriage->FormShow(); }},
        {"保存", [&] { f.saveInputDataExecute(); }},
        {"大会名", [&] { f.ReceName.SetText("第2回テスト駅伝"); }},
        {"同じ値", [&] { TeamRow(1, "東京B", "3500"); }},
    };
    ShowFresh();
    for (const auto& [what, step, undo] : kept) {
        step();
        EXPECT_FALSE(OutputForm->ViewStale()) << what;
    }
    EXPECT_EQ(OutputForm->Caption() + OutputForm->StatusBar1.Panel(1), "結果出力");
}

// A leg the count no longer has is not guessed at: the desk chooses again.
TEST_F(StaleView, LegViewKeepsItsOrderOrAsksForANewChoice) {
    const std::filesystem::path dir = form().DataFolder / "DataHTML";
    ShowF1(2);
    OutputForm->UpDownBtn.Execute(); // 個人順
    Cell(2, 1, "1", "3510");
    dialogs.AnswerDlg(mrYes);
    OutputForm->PutToWeb.Execute();
    EXPECT_TRUE(FileExists(dir / "leg1_02.html") && !FileExists(dir / "leg0_02.html")) << dialogs.Joined();
    EXPECT_EQ(OutputForm->OutputGrid.Cells(6, 1), "19'25\""); // 東京's leg time as typed now

    form().KukanSpinNum.SetValue(1);
    const auto before = Published();
    dialogs.ClearLog();
    OutputForm->PutToWeb.Execute();
    EXPECT_EQ(dialogs.Joined(), "第 2 区はもうありません。結果出力から選び直して下さい。");
    EXPECT_EQ(Published(), before);
}
