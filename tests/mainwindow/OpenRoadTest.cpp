#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RunnerKeys.h"
#include "database/TDataMdl.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"
#include "support/RaceRoadScript.h"
#include "support/WaitingRows.h"

namespace {
const char* kStillOpen = "大会情報が開いたままです。\n一度ｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい。";
}

class OpenRoad : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        form().FormShow();
        dialogs.ClearLog();
    }
    std::filesystem::path race(const std::string& name = "春の駅伝") { return home.path() / "tvnData" / name; }

    void createRace(const std::string& name) {
        ScriptRaceFolder(dialogs, name);
        form().MakeKeyNameExecute();
    }
    // Answers the open road's questions up to the edition dialog.
    void startOpen(const std::string& name = "春の駅伝") {
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerFile((race(name) / "大会情報.db").string());
    }
    void openEdition(int row) {
        ScriptOpenEdition(dialogs, race() / "大会情報.db", row);
        form().OpenKeyNameExecute();
    }
    void addEdition(const std::string& number, bool copy) {
        startOpen();
        dialogs.AnswerModal([number, this](FormBase& f) {
            auto& d = static_cast<TSelectDataForm&>(f);
            dialogs.AnswerInput(number);
            d.cmdNew.Execute();
            return d.ModalResultValue();
        });
        if (std::stoi(number) > 0) dialogs.AnswerDlg(copy ? mrYes : mrNo);
        else dialogs.AnswerDlg(mrNo);
        form().OpenKeyNameExecute();
    }
    void closeProgram() {
        dialogs.AnswerDlg(mrYes);
        ASSERT_TRUE(form().FormClose());
        Start();
        form().FormShow();
    }
};

TEST_F(OpenRoad, CreatingARaceLeavesItClosed) {
    createRace("  春の駅伝 ");
    EXPECT_TRUE(dialogs.Saw(race().string() + " が作成されました。"));
    EXPECT_TRUE(FileExists(race() / "大会情報.db"));
    EXPECT_FALSE(FileExists(race() / "mylock.$$$"));
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_EQ(form().StatusBar1.Panel(0), race().string());
    EXPECT_EQ(form().NewTaikaiDir, "春の駅伝");
}

TEST_F(OpenRoad, FolderNamesThatLeaveTheDataRootAreRefused) {
    for (std::string bad : {"..", ".", "a/b", "a\\b", "x\ty"}) {
        dialogs.ClearLog();
        createRace(bad);
        EXPECT_TRUE(dialogs.Saw("そのフォルダ名は使えません。")) << bad;
    }
    createRace("");
    EXPECT_EQ(ListSubdirs(home.path() / "tvnData").size(), 0u);
    createRace("夏");
    dialogs.ClearLog();
    createRace("夏");
    EXPECT_TRUE(dialogs.Saw("そのフォルダはすでに存在します。"));
}

TEST_F(OpenRoad, OpenEditionLoadsAndLocks) {
    createRace("春の駅伝");
    openEdition(1);
    EXPECT_TRUE(form().TaikaiOpen);
    EXPECT_EQ(form().TaikaiNo, 1);
    EXPECT_TRUE(FileExists(race() / "mylock.$$$"));
    EXPECT_FALSE(form().MakeKeyName.Enabled());
    EXPECT_FALSE(form().OpenKeyName.Enabled());
    EXPECT_TRUE(form().MainPage.Visible());
    EXPECT_EQ(form().KisoTaikaiText.Caption(), "春の駅伝");
    EXPECT_EQ(form().ReceName.Text(), "春の駅伝");
    EXPECT_EQ(form().lstDBS_Path, (race() / "大会情報.db").string());
    EXPECT_EQ(form().taikaiBestGrid.Cells(0, 1), "1");
    EXPECT_FALSE(form().InputGrid.Modified());
    EXPECT_TRUE(OutputForm->OpenPrintParam.Enabled());
    // A second open in the same run is refused.
    form().OpenKeyNameExecute();
    EXPECT_TRUE(dialogs.Saw(kStillOpen));
    form().MakeKeyName.SetEnabled(true);
    form().MakeKeyNameExecute();
    EXPECT_EQ(ListSubdirs(home.path() / "tvnData").size(), 1u);
}

TEST_F(OpenRoad, LockedRaceStopsTheRoad) {
    createRace("春の駅伝");
    WriteFileBytes(race() / "mylock.$$$", "");
    startOpen();
    dialogs.AnswerDlg(mrOk);
    form().OpenKeyNameExecute();
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_TRUE(FileExists(race() / "mylock.$$$"));
    EXPECT_FALSE(form().OutputResult.Enabled());
    EXPECT_FALSE(OutputForm->OpenPrintParam.Enabled());
    EXPECT_EQ(form().StatusBar1.Panel(0), ""); // no race path while nothing is open

    startOpen();
    dialogs.AnswerDlg(mrIgnore);
    dialogs.AnswerDlg(mrYes);
    form().OpenKeyNameExecute();
    EXPECT_TRUE(dialogs.Saw("ロックを解除しました。"));
    EXPECT_FALSE(FileExists(race() / "mylock.$$$"));
    EXPECT_FALSE(form().TaikaiOpen);
}

TEST_F(OpenRoad, CancelledFileDialogChangesNothing) {
    form().lstDBS_Path = "/before/大会情報.db";
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerFile(std::nullopt);
    form().OpenKeyNameExecute();
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_EQ(form().lstDBS_Path, "/before/大会情報.db");
    EXPECT_EQ(dialogs.LastFileRequest().Filter, "大会情報|大会情報.db");
    EXPECT_EQ(dialogs.LastFileRequest().FileName, "/before/大会情報.db");
}

// The next run proposes the last race in its folder; a path that is gone starts at the root.
TEST_F(OpenRoad, OpenDialogProposesTheLastRace) {
    createRace("春の駅伝");
    openEdition(1);
    closeProgram();
    for (const std::string& folder : {race().string(), (home.path() / "tvnData").string()}) {
        const std::string last = form().lstDBS_Path;
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerFile(std::nullopt);
        form().OpenKeyNameExecute();
        EXPECT_EQ(dialogs.LastFileRequest().InitialDir, folder);
        EXPECT_EQ(dialogs.LastFileRequest().FileName, last);
        form().lstDBS_Path = "/gone/大会情報.db";
    }
}

TEST_F(OpenRoad, EditionsSurviveARestartAndAreAddedWithCopies) {
    createRace("春の駅伝");
    openEdition(1);
    form().SankaSpinNum.SetValue(3);
    form().TeamEntryGrid.SetCells(1, 2, "東高校");
    form().TeamEntryGrid.SetCells(4, 2, "1");
    form().ReceName.SetText("第1回 春の駅伝");
    closeProgram();

    addEdition("2", true);
    EXPECT_TRUE(form().TaikaiOpen);
    EXPECT_EQ(form().TaikaiNo, 2);
    EXPECT_TRUE(dialogs.Saw("2 回大会を追加しました。"));
    EXPECT_EQ(form().TeamNum, 3);
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 2), "東高校");
    EXPECT_EQ(form().TeamEntryGrid.Cells(4, 2), "0"); // every state starts afresh
    EXPECT_EQ(form().ReceName.Text(), "第1回 春の駅伝");
    EXPECT_TRUE(FileExists(race() / "mylock.$$$"));
    EXPECT_FALSE(form().MakeKeyName.Enabled()); // open: create and open would only be refused
    EXPECT_FALSE(form().OpenKeyName.Enabled());
    // The list is in date order (edition 1 last now); the proposal follows the largest number.
    RaceDb().Exec("UPDATE 大会情報 SET OP_DATE='2099-01-01' WHERE IDN=1");
    closeProgram();

    addEdition("3", false);
    EXPECT_TRUE(dialogs.Saw("実施大会の追加:回数を入力して下さい。:3"));
    EXPECT_EQ(form().TaikaiNo, 3);
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 2), "");
    closeProgram();

    openEdition(1); // rows by date: 2, 3, then 1
    EXPECT_EQ(form().TaikaiNo, 2);
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 2), "東高校");
}

TEST_F(OpenRoad, AddingAnExistingOrInvalidNumberIsRefused) {
    createRace("春の駅伝");
    startOpen();
    dialogs.AnswerModal([this](FormBase& f) {
        auto& d = static_cast<TSelectDataForm&>(f);
        dialogs.AnswerInput("1");
        d.cmdNew.Execute();
        EXPECT_EQ(d.ModalResultValue(), mrNone);
        d.cmdCancel.Execute();
        return d.ModalResultValue();
    });
    form().OpenKeyNameExecute();
    EXPECT_TRUE(dialogs.Saw("1 回大会はすでに存在します。"));
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_FALSE(FileExists(race() / "mylock.$$$"));

    addEdition("0", false);
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_FALSE(FileExists(race() / "mylock.$$$"));
}

TEST_F(OpenRoad, EmptySelectionAndDeletingTheOpenEdition) {
    createRace("春の駅伝");
    startOpen();
    dialogs.AnswerModal([this](FormBase& f) {
        auto& d = static_cast<TSelectDataForm&>(f);
        d.getDataGrid.SetRow(0);
        d.cmdSelect.Execute();
        d.OpenTaikaiNo = 1;
        d.getDataGridCellClick(1);
        d.cmdKillRec.Execute();
        d.cmdCancel.Execute();
        return d.ModalResultValue();
    });
    form().OpenKeyNameExecute();
    EXPECT_TRUE(dialogs.Saw("実施大会が選択されていません。"));
    EXPECT_TRUE(dialogs.Saw("その大会は現在開いています。\n削除できません。"));
}

// A count that passes through a lower value (as per-keystroke typing of "15" over
// "12" once did) gives back every row, leg and time it hid, in the grids and in the
// stored edition.
TEST_F(OpenRoad, CountsThatGoDownAndUpLoseNothing) {
    createRace("春の駅伝");
    openEdition(1);
    TMainForm& f = form();
    f.SankaSpinNum.SetValue(12);
    f.KukanSpinNum.SetValue(3);
    for (int t = 1; t <= 12; ++t)
        f.TeamEntryGrid.SetCells(1, t, Format("高校%d", t));
    f.KukanInfGrid.SetCells(1, 3, "ゴール");
    f.KukanInfGrid.SetCells(2, 3, "5.5");
    FormKuriage->KuriageGrid.SetCells(1, 2, "13000");
    f.InputGrid.SetCells(5, 2, "3");
    f.InputGrid.SetCells(6, 2, "12345");
    auto pageChange = [&](int page) { f.MainPage.SetActivePageIndex(page); };
    pageChange(1);
    pageChange(0);
    f.SankaSpinNum.SetValue(1);
    f.KukanSpinNum.SetValue(2);
    pageChange(1); // saves the teams and the input of the lower counts
    pageChange(0);
    f.SankaSpinNum.SetValue(15);
    f.KukanSpinNum.SetValue(3);
    EXPECT_EQ(f.TeamEntryGrid.Cells(1, 12), "高校12");
    EXPECT_EQ(f.InputGrid.Cells(6, 2), "12345");
    pageChange(1);
    closeProgram();

    openEdition(1);
    EXPECT_EQ(form().TeamNum, 15);
    for (int t : {2, 7, 12})
        EXPECT_EQ(form().TeamEntryGrid.Cells(1, t), Format("高校%d", t));
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 13), "");
    EXPECT_EQ(form().KukanInfGrid.Cells(1, 3), "ゴール");
    EXPECT_EQ(form().KukanInfGrid.Cells(2, 3), "5.5");
    EXPECT_EQ(FormKuriage->KuriageGrid.Cells(1, 2), "13000");
    EXPECT_EQ(form().InputGrid.Cells(5, 2), "3");
    EXPECT_EQ(form().InputGrid.Cells(6, 2), "12345");
}

// An edition deleted and added again copies its source: nothing of the deleted
// edition's tables comes back.
TEST_F(OpenRoad, ReAddedEditionCopiesItsSource) {
    createRace("春の駅伝");
    openEdition(1);
    form().SankaSpinNum.SetValue(2);
    form().TeamEntryGrid.SetCells(1, 1, "東高校");
    closeProgram();
    addEdition("2", true);
    form().TeamEntryGrid.SetCells(1, 1, "二回目の名前");
    AddWaitingRow(1, 1, 30);
    closeProgram();

    startOpen();
    dialogs.AnswerModal([this](FormBase& f) {
        auto& d = static_cast<TSelectDataForm&>(f);
        d.getDataGridCellClick(2);
        dialogs.AnswerDlg(mrYes);
        d.cmdKillRec.Execute();
        dialogs.AnswerInput("2");
        d.cmdNew.Execute();
        return d.ModalResultValue();
    });
    dialogs.AnswerDlg(mrYes);
    form().OpenKeyNameExecute();
    ASSERT_EQ(form().TaikaiNo, 2);
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 1), "東高校");
    EXPECT_EQ(form().SumWaitingTime(1, 1), 0);
}

// A cancelled edition dialog leaves the race file free for another program.
TEST_F(OpenRoad, CancelledEditionDialogReleasesTheRaceFile) {
    createRace("春の駅伝");
    startOpen();
    dialogs.AnswerModal([](FormBase& f) {
        static_cast<TSelectDataForm&>(f).cmdCancel.Execute();
        return f.ModalResultValue();
    });
    form().OpenKeyNameExecute();
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_FALSE(DataMdl->HasFolder());
    Database other(race());
    EXPECT_NO_THROW(other.Exec("BEGIN EXCLUSIVE"));
    EXPECT_NO_THROW(other.Exec("COMMIT"));
}

TEST_F(OpenRoad, CloseOnYesSavesRunnersSettingsAndUnlocks) {
    createRace("春の駅伝");
    openEdition(1);
    form().chk100.SetChecked(true);
    form().ShowRunnerTeam(1);
    form().RunnerEntryGrid.SetCells(1, 2, "走者");
    form().SetFocus(form().RunnerEntryGrid);
    dialogs.AnswerDlg(mrYes);
    ASSERT_TRUE(form().FormClose());
    EXPECT_TRUE(dialogs.Saw("選手情報をセーブします。"));
    EXPECT_EQ(ReadRunnerRecord(101)->Sei, "走者");
    EXPECT_TRUE(FileExists(program->IniPath()));
    EXPECT_TRUE(IniFile(race() / "ini1.INI").ReadBool("Params", "chk100", false));
    EXPECT_FALSE(FileExists(race() / "mylock.$$$"));
}

// The settings the timing import reads, written by every road of the input save.
TEST_F(OpenRoad, SettingsComeBackAfterASaveAndAKill) {
    const std::string timing = (home.path() / "000.csv").string();
    WriteFileBytes(timing, "1,1,100000\r\n");
    const std::function<void(TMainForm&)> saves[] = {
        [](TMainForm& f) { f.saveInputData.Execute(); }, // ｲﾝﾌﾟｯﾄﾃﾞｰﾀ保存
        [](TMainForm& f) { f.InputGrid.SetCells(2, 2, "1000000"); f.FormActivate(); }, // back from elsewhere
        [](TMainForm& f) { f.PrevKukanNum = 2; f.MainPage.SetActivePageIndex(1); }, // a new leg count's page
    };
    for (const auto& save : saves) {
        std::filesystem::remove_all(race());
        std::filesystem::remove(program->IniPath());
        Start();
        form().FormShow();
        createRace("春の駅伝");
        openEdition(1);
        TMainForm& f = form();
        f.KukanSpinNum.SetValue(3);
        for (int k = 1; k <= 3; ++k) f.KukanInfGrid.SetCells(4, k, IntToStr(2 * k));
        f.chk100.SetChecked(true);
        f.PrevKukanNum = 3;
        f.MainPage.SetActivePageIndex(2);
        dialogs.AnswerFile(timing);
        f.ActionOpenAllCSVExecute();
        f.ToolButtonSlitPanel.Execute();
        f.InputGridEnter(f.InputGrid);
        save(f);
        Start(); // the kill: nothing more is written
        form().FormShow();
        startOpen();
        dialogs.AnswerDlg(mrIgnore); // the lock left behind is released, then the race opened
        dialogs.AnswerDlg(mrYes);
        form().OpenKeyNameExecute();
        openEdition(1);
        const TMainForm& g = form();
        EXPECT_EQ((std::vector<std::string>{g.KukanInfGrid.Cells(4, 1), g.KukanInfGrid.Cells(4, 2),
                                            g.KukanInfGrid.Cells(4, 3), g.chk100.Checked() ? "1/100" : "",
                                            g.Edit1.Text(), g.SlitGridPanel.Visible() ? "panel" : ""}),
                  (std::vector<std::string>{"2", "4", "6", "1/100", timing, "panel"}));
    }
}
