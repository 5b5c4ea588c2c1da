#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"

namespace {

std::string readFile(const std::filesystem::path& p) {
    std::string s;
    ReadFileBytes(p, s);
    return s;
}

} // namespace

class MainFormSettings : public ProgramFixture {};

TEST_F(MainFormSettings, DefaultsWithoutSettingsFile) {
    EXPECT_EQ(form().exCsvFilePath, home.path().string());
    EXPECT_EQ(form().exDenkoFileName, "dnkodata.txt");
    EXPECT_EQ(form().exExcelMacroName, "theTavrenPrintStd.xls");
    EXPECT_TRUE(form().RadioClickEntry.Checked());
    EXPECT_FALSE(form().RadioTenkeyEntry.Checked());
    EXPECT_FALSE(form().useDnkoDefault);
    EXPECT_EQ(form().SankaSpinNum.MaxValue(), 200);
    EXPECT_FALSE(form().HelpUrl.empty());
}

TEST_F(MainFormSettings, MissingFoldersAndFilesFallBack) {
    IniFile ini(program->IniPath());
    ini.WriteString("WorkFiles", "exCsvFilePath", (home.path() / "gone").string());
    ini.WriteString("WorkFiles", "FromPath", (home.path() / "missing.csv").string());
    ini.WriteBool("Params", "ClickEntry", false);
    ini.WriteBool("Params", "PRTCHG_NO", true);
    Start();
    EXPECT_EQ(form().exCsvFilePath, home.path().string());
    EXPECT_EQ(form().FromPath, "");
    EXPECT_EQ(form().Edit1.Text(), "");
    EXPECT_FALSE(form().RadioClickEntry.Checked());
    EXPECT_TRUE(form().RadioTenkeyEntry.Checked());
    EXPECT_TRUE(form().PRTCHG_NO);
}

TEST_F(MainFormSettings, ExistingPathsAreKept) {
    CreateDir(home.path() / "csv");
    WriteFileBytes(home.path() / "auto.csv", "x");
    IniFile ini(program->IniPath());
    ini.WriteString("WorkFiles", "exCsvFilePath", (home.path() / "csv").string());
    ini.WriteString("WorkFiles", "FromPath", (home.path() / "auto.csv").string());
    Start();
    EXPECT_EQ(form().exCsvFilePath, (home.path() / "csv").string());
    EXPECT_EQ(form().Edit1.Text(), (home.path() / "auto.csv").string());
}

TEST_F(MainFormSettings, WriteMainIniWritesFourteenKeysInOrder) {
    form().useFuriganaCTR = true;
    form().lstDBS_Path = "/races/大会A/大会情報.db";
    form().WriteMainIni();
    std::string text = FromSjis(readFile(program->IniPath()));
    const char* keys[] = {"exCsvFilePath", "exDenkoFilePath", "exDenkoFileName", "exExcelMacroName", "FromPath",
                          "lstDBS_Path"};
    size_t pos = 0;
    for (const char* k : keys) {
        size_t at = text.find(k, pos);
        ASSERT_NE(at, std::string::npos) << k;
        pos = at;
    }
    IniFile back(program->IniPath());
    EXPECT_TRUE(back.ReadBool("Params", "useFuriganaCTR", false));
    EXPECT_EQ(back.ReadString("WorkFiles", "lstDBS_Path", ""), "/races/大会A/大会情報.db");
    EXPECT_NE(text.find("[Params]\r\nClickEntry=1\r\n"), std::string::npos);
    Start();
    EXPECT_TRUE(form().useFuriganaCTR);
}

class MainFormLifeCycle : public ProgramFixture {};

TEST_F(MainFormLifeCycle, FirstShowCreatesDataRootOnce) {
    form().FormShow();
    auto root = home.path() / "tvnData";
    EXPECT_TRUE(DirectoryExists(root));
    EXPECT_TRUE(dialogs.Saw(root.string() + " が作成されました。"));
    EXPECT_EQ(form().Caption(), "theTavren Version 4.33");
    EXPECT_EQ(form().TaikaiNo, -1);
    EXPECT_FALSE(form().TaikaiOpen);
    EXPECT_FALSE(form().MainPage.Visible());
    EXPECT_NE(form().Splash.Caption().find("タヴレン集計プログラム"), std::string::npos);
    EXPECT_FALSE(form().Timer1.Enabled()); // the split panel is hidden: nothing to poll for
    dialogs.ClearLog();
    Start();
    form().FormShow();
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(MainFormLifeCycle, ActionsNeedingARaceStartDisabled) {
    for (Action* a : {&form().OutputResult, &form().OpenKuriageForm, &form().saveInputData, &form().ActionFillDummy,
                      &form().swaprows, &form().Apaste})
        EXPECT_FALSE(a->Enabled()) << a->Name();
    EXPECT_TRUE(form().OpenKeyName.Enabled());
    EXPECT_FALSE(form().Timer1.Enabled());
}

TEST_F(MainFormLifeCycle, CloseWithoutRaceWritesNothing) {
    form().FormShow();
    EXPECT_TRUE(form().FormClose());
    EXPECT_FALSE(FileExists(program->IniPath()));
}

TEST_F(MainFormLifeCycle, CloseWithoutEditionNumberKeepsLock) {
    form().FormShow();
    auto race = home.path() / "tvnData" / "race";
    CreateDir(race);
    WriteFileBytes(race / "mylock.$$$", "");
    form().DataFolder = race;
    form().TaikaiOpen = true;
    form().TaikaiNo = 0;
    EXPECT_TRUE(form().FormClose());
    EXPECT_EQ(form().taikaiBestGrid.Cells(0, 1), "0");
    EXPECT_TRUE(dialogs.Saw("回数が設定されていません。"));
    EXPECT_EQ(dialogs.LastKind(), MsgKind::Information);
    EXPECT_TRUE(FileExists(race / "mylock.$$$"));
    EXPECT_FALSE(FileExists(program->IniPath()));
}

TEST_F(MainFormLifeCycle, CloseAnsweredNoKeepsWindow) {
    form().FormShow();
    form().DataFolder = home.path();
    form().TaikaiOpen = true;
    form().TaikaiNo = 1;
    dialogs.AnswerDlg(mrNo);
    EXPECT_FALSE(form().FormClose());
    EXPECT_TRUE(dialogs.Saw("終了しますか ?"));
    EXPECT_FALSE(FileExists(program->IniPath()));
}

TEST_F(MainFormLifeCycle, HelpAsksBeforeOpeningTheManual) {
    form().HelpUrl = "  ";
    form().HelpContentsExecute();
    EXPECT_TRUE(dialogs.Saw("TheTavren Version 4.33\n最大ﾁｰﾑ数=200 / 最大ｴﾘｱｽ番号=999\n\nヘルプ先のURLが設定されていません。"));
    form().HelpUrl = "https://example.org/help";
    dialogs.AnswerDlg(mrNo);
    form().HelpContentsExecute();
    EXPECT_TRUE(shell.Opened.empty());
    dialogs.AnswerDlg(mrYes);
    form().HelpContentsExecute();
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], "https://example.org/help");
}

TEST_F(MainFormLifeCycle, CommandsOfWindowsNotBuiltSaySo) {
    ShowNotBuilt("設定(&P)"); // the caption without its accelerator
    EXPECT_TRUE(dialogs.Saw("設定はまだ使えません。"));
    EXPECT_TRUE(form().OpenClockInputForm.OnExecute != nullptr);
}
