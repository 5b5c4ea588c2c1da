#include "database/RunnerKeys.h"
#include "mainwindow/EntryRaceFixture.h"
#include "mainwindow/TSwapTmRunForm.h"
class TmpDbg : public EntryRace {};
TEST_F(TmpDbg, X) {
    openRace(2, 1, 3);
    for (int t = 1; t <= 3; ++t) {
        form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
        for (int s = 0; s <= 3; ++s)
            putRunner(t, s, "T" + IntToStr(t), "-" + IntToStr(s), "ｶﾅ" + IntToStr(t), "ﾒｲ" + IntToStr(s), t + s, s == 2 ? 2 : 0);
    }
    form().MarkedRowA = 1; form().MarkedRowB = 3;
    RaceDb().Exec("DELETE FROM " + RunnerTableName(1) + " WHERE Team_Kukan=302");
    printf("after delete: %d\n", (bool)ReadRunnerRecord(302));
    dialogs.AnswerModal([this](FormBase& f) {
        printf("in dialog: %d\n", (bool)ReadRunnerRecord(302));
        for (int i : {1,2,3}) SwapTmRunForm->ListBox1.SetSelected(i, true);
        for (int i : {1,2,3}) SwapTmRunForm->ListBox2.SetSelected(i, true);
        printf("in dialog2: %d\n", (bool)ReadRunnerRecord(302));
        SwapTmRunForm->SwapBtn.Execute();
        printf("status %s\n", SwapTmRunForm->StatusBar1.Panel(0).c_str());
        return f.ModalResultValue();
    });
    form().SwapTmRunnrExecute();
}
