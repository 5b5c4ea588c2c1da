// The exchange of runners between the two teams marked in the team grid.
#include "database/RunnerKeys.h"
#include "mainwindow/EntryRaceFixture.h"
#include "mainwindow/TSwapTmRunForm.h"

#include <optional>

class RunnerExchange : public EntryRace {
  protected:
    // Three teams on 2 legs with 1 substitute; runner "Tt-s" in team t, slot s.
    void SetUp() override {
        EntryRace::SetUp();
        openRace(2, 1, 3);
        for (int t = 1; t <= 3; ++t) {
            form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
            for (int s = 0; s <= 3; ++s)
                putRunner(t, s, "T" + IntToStr(t), "-" + IntToStr(s), "ｶﾅ" + IntToStr(t), "ﾒｲ" + IntToStr(s),
                          t + s, s == 2 ? 2 : 0);
        }
        form().MarkedRowA = 1;
        form().MarkedRowB = 3;
    }
    TSwapTmRunForm& dlg() { return *SwapTmRunForm; }
    std::string name(int team, int slot) {
        auto r = ReadRunnerRecord(RunnerKey(team, slot));
        return r ? r->Sei + r->Mei : "(none)";
    }
    void select(ListBox& box, std::initializer_list<int> items) {
        for (int i : items)
            box.SetSelected(i, true);
    }
    // The dialog as the exchange action shows it; `inDialog` plays the user.
    void exchange(std::function<void()> inDialog) {
        dialogs.AnswerModal([inDialog](FormBase& f) {
            inDialog();
            return f.ModalResultValue();
        });
        form().SwapTmRunnrExecute();
    }
};

TEST_F(RunnerExchange, ListsShowTheRunnersOfBothMarkedTeams) {
    exchange([this] {
        EXPECT_EQ(dlg().LabelTitle.Caption(), "チーム1 <-> チーム3");
        ASSERT_EQ(dlg().ListBox1.Count(), 4);
        EXPECT_EQ(dlg().ListBox1.Item(0), "監) " + form().RunnerNameText(1, 0, 0));
        EXPECT_EQ(dlg().ListBox1.Item(1), " 1) " + form().RunnerNameText(1, 1, 0));
        EXPECT_EQ(dlg().ListBox2.Item(3), "補) " + form().RunnerNameText(3, 3, 0));
        EXPECT_EQ(dlg().ComboBoxKumiA.Count(), 3);
        EXPECT_EQ(dlg().ComboBoxKumiA.Item(1), " 2 チーム2");
        EXPECT_EQ(dlg().ComboBoxKumiB.ItemIndex(), 2);
        EXPECT_EQ(dlg().VisibleRows, 5);
    });
}

TEST_F(RunnerExchange, SelectedRunnersTradeTeamAndSlotWithEveryField) {
    const RunnerRecord before = *ReadRunnerRecord(RunnerKey(1, 2));
    exchange([this] {
        select(dlg().ListBox1, {1, 2});
        select(dlg().ListBox2, {3, 1});
        dlg().SwapBtn.Execute();
        EXPECT_EQ(dlg().StatusBar1.Panel(0), "両チーム各 2 名の入れ替えを行いました。");
        // The lists show the new runners, the selection stays.
        EXPECT_EQ(dlg().ListBox1.Item(1), " 1) " + form().RunnerNameText(1, 1, 0));
        EXPECT_TRUE(dlg().ListBox1.Selected(2));
    });
    // k-th selected with k-th selected, in list order: (1,1)<->(3,1), (1,2)<->(3,3).
    EXPECT_EQ(name(1, 1), "T3-1");
    EXPECT_EQ(name(3, 1), "T1-1");
    EXPECT_EQ(name(1, 2), "T3-3");
    EXPECT_EQ(name(3, 3), "T1-2");
    EXPECT_EQ(name(1, 0), "T1-0");
    const RunnerRecord moved = *ReadRunnerRecord(RunnerKey(3, 3));
    EXPECT_EQ(moved.SeiKana, before.SeiKana);
    EXPECT_EQ(moved.MeiKana, before.MeiKana);
    EXPECT_EQ(moved.Age, before.Age);
    EXPECT_EQ(moved.Remark, 2);
    EXPECT_EQ(runnerCount(), 12);
}

TEST_F(RunnerExchange, UnequalSelectionsAreRefused) {
    exchange([this] {
        select(dlg().ListBox1, {1, 2});
        select(dlg().ListBox2, {1});
        dlg().SwapBtn.Execute();
        dlg().BtnClearClick();
        dlg().SwapBtn.Execute();
    });
    EXPECT_EQ(dialogs.Joined(), "入れ替え選手の数が合っていません。|入れ替え選手の数が合っていません。");
    EXPECT_EQ(name(1, 1), "T1-1");
    EXPECT_EQ(name(3, 1), "T3-1");
}

TEST_F(RunnerExchange, MissingRecordRefusesAndStopsTheRun) {
    RaceDb().Exec("DELETE FROM " + RunnerTableName(1) + " WHERE Team_Kukan=302");
    exchange([this] {
        select(dlg().ListBox1, {1, 2, 3});
        select(dlg().ListBox2, {1, 2, 3});
        dlg().SwapBtn.Execute();
        EXPECT_EQ(dlg().StatusBar1.Panel(0), "両チーム各 1 名の入れ替えを行いました。");
    });
    EXPECT_EQ(dialogs.Joined(), "テーブルが存在しません");
    EXPECT_EQ(name(1, 1), "T3-1");
    EXPECT_EQ(name(1, 2), "T1-2");
    EXPECT_EQ(name(1, 3), "T1-3");
    EXPECT_EQ(name(3, 3), "T3-3");
}

TEST_F(RunnerExchange, SameRunnerOnBothSidesIsLeftAlone) {
    EXPECT_EQ(form().SwapRunnerRecords(2, 1, 1, 2), 0);
    EXPECT_EQ(name(2, 1), "T2-1");
    EXPECT_EQ(form().SwapRunnerRecords(2, 1, 9, 2), 1);
    EXPECT_EQ(dialogs.Joined(), "テーブルが存在しません");
}

TEST_F(RunnerExchange, ChoosingAnotherTeamRefillsThatSideOnly) {
    exchange([this] {
        select(dlg().ListBox1, {1});
        dlg().ListBox1Click(TSwapTmRunForm::SideA);
        select(dlg().ListBox2, {2});
        dlg().ComboBoxKumiB.SetItemIndex(1);
        dlg().ComboBoxKumiAClick(TSwapTmRunForm::SideB);
        EXPECT_EQ(form().MarkedRowB, 2);
        EXPECT_EQ(dlg().LabelTitle.Caption(), "チーム1 <-> チーム2");
        EXPECT_EQ(dlg().ListBox2.Item(1), " 1) " + form().RunnerNameText(2, 1, 0));
        EXPECT_EQ(dlg().ListBox2.SelCount(), 0);
        EXPECT_TRUE(dlg().ListBox1.Selected(1));
    });
}

TEST_F(RunnerExchange, ShownTeamIsStoredBeforeAndReadBackAfter) {
    form().CurrTeamNo = 1;
    LoadRunnersToGrid();
    form().RunnerEntryGrid.SetCells(3, 2, "ﾆｭｳﾘｮｸ");
    exchange([this] {
        select(dlg().ListBox1, {1});
        select(dlg().ListBox2, {1});
        dlg().SwapBtn.Execute();
    });
    EXPECT_EQ(ReadRunnerRecord(RunnerKey(3, 1))->SeiKana, "ﾆｭｳﾘｮｸ");
    EXPECT_EQ(form().RunnerEntryGrid.Cells(1, 2), "T3");
    EXPECT_FALSE(form().RunnerEntryGrid.Modified());
}
