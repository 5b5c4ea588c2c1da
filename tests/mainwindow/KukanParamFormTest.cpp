// The list dialog in its order modes, and the order set-up of the runner page.
#include "database/RunnerKeys.h"
#include "mainwindow/EntryRaceFixture.h"
#include "mainwindow/TKukanParamForm.h"

#include <optional>

namespace {

const char* const kNames[] = {"監督", "一郎", "二郎", "三郎", "四郎", "五郎"};

} // namespace

class KukanParam : public EntryRace {
  protected:
    // Team 1 with a manager and runners 一郎 .. in slots 1 .., each with its own fields.
    void race(int legs, int subs) {
        openRace(legs, subs, 2);
        for (int slot = 0; slot <= legs + subs; ++slot)
            putRunner(1, slot, "山田", slot < 6 ? kNames[slot] : "走者" + IntToStr(slot), "ﾔﾏﾀﾞ",
                      "ｶﾅ" + IntToStr(slot), slot % 4, slot == 2 ? 1 : 0);
        form().CurrTeamNo = 1;
        LoadRunnersToGrid();
    }
    TKukanParamForm& dlg() { return *KukanParamForm; }
    // The dialog as the order set-up shows it, without the modal loop.
    void open(int mode) {
        TKukanParamForm& d = dlg();
        d.Mode = mode;
        d.KukanListBox.Clear();
        for (int i = 0; i < form().KukanNum + form().HoketuNum; ++i)
            d.KukanListBox.Add(form().RunnerListText(i, true));
        d.FormShow();
    }
    void click(int item) {
        dlg().KukanListBox.SetItemIndex(item);
        dlg().KukanListBoxClick();
    }
    void type(int item, const std::u32string& keys) {
        dlg().KukanListBox.SetItemIndex(item);
        for (char32_t k : keys) {
            char32_t key = k;
            dlg().KukanListBoxKeyPress(key);
            EXPECT_EQ(key, Key::None);
        }
    }
    std::string item(int i) { return dlg().KukanListBox.Item(i); }
    std::optional<RunnerRecord> runner(int slot) { return ReadRunnerRecord(RunnerKey(1, slot)); }
    std::string mei(int slot) {
        auto r = runner(slot);
        return r ? r->Mei : "(none)";
    }
};

TEST_F(KukanParam, ClickingNumbersRunnersInLegOrderAndCompletes) {
    race(3, 2);
    open(TKukanParamForm::ModeClick);
    EXPECT_EQ(dlg().Caption(), "ｵｰﾀﾞｰ設定(ｸﾘｯｸ)");
    EXPECT_FALSE(dlg().OKBtn.Enabled());
    click(3);
    click(0);
    EXPECT_TRUE(StartsWith(item(3), " 1) 山田 四郎"));
    EXPECT_TRUE(StartsWith(item(0), " 2) 山田 一郎"));
    // Only the latest number can be taken back.
    click(3);
    EXPECT_TRUE(dialogs.Saw("降順で戻して下さい。"));
    EXPECT_EQ(dlg().OrderOf[3], 1);
    click(0);
    EXPECT_EQ(dlg().OrderCount, 1);
    EXPECT_EQ(item(0), form().RunnerListText(0, true));
    click(0);
    click(1);
    EXPECT_TRUE(dialogs.Saw("設定終了"));
    EXPECT_TRUE(dlg().OKBtn.Enabled());
    // Numbered runners first in leg order, the others marked after them.
    EXPECT_TRUE(StartsWith(item(0), " 1) 山田 四郎"));
    EXPECT_TRUE(StartsWith(item(1), " 2) 山田 一郎"));
    EXPECT_TRUE(StartsWith(item(2), " 3) 山田 二郎"));
    EXPECT_TRUE(StartsWith(item(3), "....) 山田 三郎"));
    EXPECT_TRUE(StartsWith(item(4), "....) 山田 五郎"));
    dialogs.ClearLog();
    click(1);
    EXPECT_EQ(dialogs.Joined(), "設定終了後は戻せません。");
}

TEST_F(KukanParam, TenKeyTakesTwoDigitLegsOnlyWhenTheLegExists) {
    race(12, 1);
    open(TKukanParamForm::ModeTenkey);
    type(0, U"12");
    EXPECT_EQ(dlg().OrderOf[0], 12);
    EXPECT_TRUE(StartsWith(item(0), "12) 山田 一郎"));
    type(1, U"15");
    EXPECT_EQ(dlg().OrderOf[1], 1);
    EXPECT_TRUE(StartsWith(item(1), " 1) 山田 二郎"));
    type(2, U"0");
    EXPECT_EQ(dlg().OrderOf[2], 0);
    EXPECT_EQ(item(2), form().RunnerListText(2, true));
    type(1, U"\b");
    EXPECT_EQ(dlg().OrderOf[1], 0);
    type(1, U"3.a");
    EXPECT_EQ(dlg().OrderOf[1], 0);
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(KukanParam, TenKeyDiscardsLegsBeyondTheLastAndRefusesDuplicates) {
    race(3, 1);
    open(TKukanParamForm::ModeTenkey);
    type(0, U"5");
    EXPECT_EQ(dlg().OrderOf[0], 0);
    type(0, U"1");
    type(1, U"2");
    type(2, U"2");
    char32_t enter = Key::Enter;
    dlg().KukanListBoxKeyPress(enter);
    EXPECT_EQ(dialogs.Joined(), "区番が重複しています。");
    EXPECT_FALSE(dlg().OKBtn.Enabled());
    EXPECT_EQ(dlg().KukanListBox.ItemIndex(), 3);
    type(2, U"\b3");
    dialogs.ClearLog();
    type(3, U"\r");
    EXPECT_EQ(dialogs.Joined(), "設定終了");
    EXPECT_TRUE(dlg().OKBtn.Enabled());
    const std::vector<std::string> sorted = dlg().KukanListBox.Items();
    // Complete: Enter no longer rewrites the list, other keys are refused.
    type(0, U"\r");
    EXPECT_EQ(dlg().KukanListBox.Items(), sorted);
    EXPECT_EQ(dialogs.Joined(), "設定終了");
    type(0, U"1");
    EXPECT_TRUE(dialogs.Saw("設定終了後は変更できません。"));
    EXPECT_EQ(dlg().KukanListBox.Items(), sorted);
}

TEST_F(KukanParam, OrderSetUpMovesRunnersWithAllTheirFields) {
    race(3, 2);
    form().RadioClickEntry.SetChecked(true);
    // A change typed into the grid before the set-up is kept.
    form().RunnerEntryGrid.SetCells(3, 4, "ｻﾌﾞﾛｳ");
    const RunnerRecord manager = *runner(0);
    const RunnerRecord jiro = *runner(2);
    const int records = runnerCount();
    dialogs.AnswerModal([this](FormBase& f) {
        EXPECT_EQ(&f, KukanParamForm);
        for (int i : {3, 0, 1})
            click(i);
        dlg().OKBtn.Execute();
        return f.ModalResultValue();
    });
    form().ArrangeRunnerExecute();
    EXPECT_EQ(mei(1), "四郎");
    EXPECT_EQ(mei(2), "一郎");
    EXPECT_EQ(mei(3), "二郎");
    EXPECT_EQ(mei(4), "三郎");
    EXPECT_EQ(mei(5), "五郎");
    EXPECT_EQ(runner(4)->SeiKana, "ｻﾌﾞﾛｳ");
    EXPECT_EQ(runner(0)->Mei, manager.Mei);
    const RunnerRecord moved = *runner(3);
    EXPECT_EQ(moved.Age, jiro.Age);
    EXPECT_EQ(moved.Remark, jiro.Remark);
    EXPECT_EQ(moved.MeiKana, jiro.MeiKana);
    EXPECT_EQ(runnerCount(), records);
    // The grid shows the new order.
    EXPECT_EQ(form().RunnerEntryGrid.Cells(2, 2), "四郎");
    EXPECT_TRUE(dlg().OrderOf.empty());
}

TEST_F(KukanParam, CancelledOrderSetUpChangesNothing) {
    race(3, 2);
    form().RadioTenkeyEntry.SetChecked(true);
    form().RadioClickEntry.SetChecked(false);
    dialogs.AnswerModal([this](FormBase& f) {
        EXPECT_EQ(dlg().Mode, TKukanParamForm::ModeTenkey);
        type(0, U"3");
        dlg().CancelBtn.Execute();
        return f.ModalResultValue();
    });
    form().ArrangeRunnerExecute();
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(mei(slot), kNames[slot]);
    EXPECT_TRUE(dlg().OrderOf.empty());
}
