// What the outputs publish over F1: only computed results (a stopped computation
// leaves every published file as it was and every output refuses), and the total
// distance as the leg grid holds it when the output runs.
#include "platform/Files.h"
#include "support/F1Race.h"

#include <map>

namespace {

const char* const kNoResults = "成績が計算されていないので出力できません。";

} // namespace

class PublishedResults : public F1Race {
  protected:
    void SetUp() override {
        F1Race::SetUp();
        BuildF1();
        form().useDnkoDefault = true;
    }
    std::string File(const std::filesystem::path& p) {
        std::string bytes;
        ReadFileBytes(p, bytes);
        return FromSjis(bytes);
    }
    void Recompute(int view) {
        dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
        ShowF1(view);
    }
};

TEST_F(PublishedResults, AStoppedComputationPublishesNothing) {
    ShowF1(2);
    OutputForm->PutToWeb.Execute();
    ASSERT_TRUE(OutputForm->UpDownBtn.Enabled());
    Recompute(0);
    OutputForm->PutToWeb.Execute();
    OutputForm->PutToDenko.Execute();
    const std::map<std::string, std::string> before = Published();
    ASSERT_EQ(before.count((form().DataFolder / "DataHTML" / "indexPC.html").string()), 1u);
    ASSERT_TRUE(OutputForm->TopTeamPrize.Enabled());

    // Mid-race: no passing yet at relay point 2.
    for (int row = 1; row <= 3; ++row)
        Cell(2, row, "", "");
    dialogs.ClearLog();
    Recompute(0);
    EXPECT_TRUE(dialogs.Saw("空データです。")) << dialogs.Joined();
    EXPECT_TRUE(dialogs.Saw("データにエラーがあります。処理を中止しました。"));
    EXPECT_FALSE(OutputForm->ResultsShown);
    for (const Action* a : std::initializer_list<const Action*>{
             &OutputForm->TopRunnersList, &OutputForm->TopTeamPrize, &OutputForm->UpDownBtn})
        EXPECT_FALSE(a->Enabled()) << a->Name();
    // The order button no longer retitles the window.
    const std::string caption = OutputForm->Caption();
    EXPECT_FALSE(OutputForm->UpDownBtn.Execute());
    EXPECT_EQ(OutputForm->Caption(), caption);

    clipboard.SetText("kept");
    TOutputForm& o = *OutputForm;
    for (Action* a : {&o.PutToWeb, &o.Macro, &o.PutToExcel, &o.OpenResultRep, &o.ActionClipCopy,
                      &o.TeamResultExcel, &o.N6, &o.N7, &o.PutToDenko, &o.PutKojinPrize}) {
        a->SetEnabled(true);
        dialogs.ClearLog();
        a->Execute();
        EXPECT_EQ(dialogs.Joined(), kNoResults) << a->Name();
    }
    EXPECT_EQ(clipboard.GetText(), "kept");
    EXPECT_EQ(Published(), before);
    EXPECT_EQ(OutputForm->Caption(), caption);
}

TEST_F(PublishedResults, TheTotalDistanceIsTheLegGridsAsItStands) {
    const std::filesystem::path index = form().DataFolder / "DataHTML" / "indexPC.html";
    const std::filesystem::path prize = form().DataFolder / "prize_result.csv";
    // Typed in this run, never loaded from the edition; then leg 2 changed.
    for (auto [leg2, total] : {std::pair{"6.1", "11.1"}, {"7.4", "12.4"}}) {
        form().KukanInfGrid.SetCells(2, 2, leg2);
        if (FileExists(prize)) dialogs.AnswerDlg(mrYes);
        ShowF1(0);
        OutputForm->PutToWeb.Execute();
        EXPECT_NE(File(index).find(std::string("距離 ") + total + "km<BR>"), std::string::npos) << total;
        EXPECT_EQ(Split(File(prize), '\n').at(2), std::string("-1,-1,*,-1,テスト駅伝,***,2024/01/14,0,") + total +
                                                      ",0,0,0,0\r");
        dialogs.AnswerDlg(mrNo); // ﾌﾘｶﾞﾅ
        dialogs.AnswerDlg(mrNo); // no workbook
        OutputForm->PutToExcel.Execute();
        EXPECT_NE(clipboard.GetText().find(std::string("  距離 ") + total + "km\t"), std::string::npos);
    }
}

// A view the engine cannot fill says which file and why, and the outputs refuse after it.
TEST_F(PublishedResults, AViewTheEngineCannotFillNamesTheFileAndTheReason) {
    DataMdl->CloseAll();
    const std::filesystem::path teams = form().DataFolder / "チーム情報001.db";
    ASSERT_TRUE(WriteFileBytes(teams, std::string(20000, 'x')));
    ShowF1(0);
    EXPECT_EQ(dialogs.Joined(),
              "異常終了\n" + teams.string() + " のオープンに失敗しました。\nfile is not a database");
    dialogs.ClearLog();
    OutputForm->PutToDenko.Execute();
    EXPECT_EQ(dialogs.Joined(), kNoResults);
}
