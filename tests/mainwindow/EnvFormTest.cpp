#include "database/RaceFixture.h"
#include "mainwindow/TFormEnv.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <functional>

// A race open on edition 1; the settings window opened from the menu, edited, closed with OK.
class EnvForm : public RaceFixture {
  protected:
    void SetUp() override {
        RaceFixture::SetUp();
        openRace(2, 1, 3);
        form().exDenkoFilePath = "/desk/board/";
        form().exDenkoFileName = ""; // as an old settings file may hold it
    }
    void edit(const std::function<void(TFormEnv&)>& edits) {
        dialogs.ClearLog();
        dialogs.AnswerModal([edits](FormBase&) {
            FormEnv->FormShow();
            edits(*FormEnv);
            FormEnv->OKBtn.Execute();
            return FormEnv->ModalResultValue();
        });
        form().OpenEnvForm.Execute();
    }
};

TEST_F(EnvForm, ClosingTakesTheEditsButNoEmptyFolderOrName) {
    const std::string path = "空白パス名には設定できませんでした。",
                      name = "空白ファイル名には設定できませんでした。";
    struct Case {
        std::function<void(TFormEnv&)> edits;
        std::string messages, folder, file, macro;
        bool prtchg;
    };
    const Case cases[] = {
        {[](TFormEnv&) {}, "", "/desk/board/", "", "theTavrenPrintStd.xls", false},
        {[](TFormEnv& e) { e.EditLogFilePath.SetText(""), e.CheckChgPrt.SetChecked(true); },
         path + "|" + name, "/desk/board/", "", "theTavrenPrintStd.xls", true},
        {[](TFormEnv& e) { e.DenkoFileName.SetText("a.txt"), e.EMacroFileName.SetText(""); }, "",
         "/desk/board/", "a.txt", "", true},
        {[this](TFormEnv& e) { dialogs.AnswerFile("/data/out.txt"), e.bGetPath.Execute(); }, "", "/data/",
         "a.txt", "", true},
        {[](TFormEnv& e) { e.EHelpURL.SetText("https://help.example.net/"); }, "", "/data/", "a.txt", "",
         true},
    };
    for (const Case& c : cases) {
        edit(c.edits);
        EXPECT_EQ(dialogs.Joined(), c.messages);
        EXPECT_EQ(form().exDenkoFilePath, c.folder);
        EXPECT_EQ(form().exDenkoFileName, c.file);
        EXPECT_EQ(form().exExcelMacroName, c.macro);
        EXPECT_EQ(form().PRTCHG_NO, c.prtchg);
    }
    EXPECT_EQ(dialogs.LastFileRequest().Filter, "TXT|*.txt");
    EXPECT_FALSE(FileExists(program->IniPath())) << "the settings wait for the program's close";
    // The help address serves this run only: it never reaches the settings file.
    dialogs.AnswerDlg(mrYes);
    form().HelpContentsExecute();
    EXPECT_EQ(shell.Opened, std::vector<std::string>{"https://help.example.net/"});
    dialogs.AnswerDlg(mrYes);
    ASSERT_TRUE(form().FormClose());
    std::string ini;
    ReadFileBytes(program->IniPath(), ini);
    EXPECT_EQ(FromSjis(ini).find("help.example.net"), std::string::npos);
    EXPECT_NE(FromSjis(ini).find("exDenkoFilePath=/data/\r\n"), std::string::npos);
}

// Blanks are no folder or file name; a line break pasted into a one-line box goes.
TEST_F(EnvForm, BlanksAreEmptyAndLineBreaksGo) {
    const std::string refused = "空白パス名には設定できませんでした。|空白ファイル名には設定できませんでした。";
    for (auto [folder, file, messages, stored] : {std::tuple{" ", "\r\n", refused, "/desk/board/|"},
                                                  {"/a\nb/\r\n", " c.txt\n", std::string(), "/ab/|c.txt"}}) {
        edit([&](TFormEnv& e) {
            e.EditLogFilePath.SetText(folder), e.DenkoFileName.SetText(file);
            e.EHelpURL.SetText("https://help.example.net/\r\n");
        });
        EXPECT_EQ(dialogs.Joined(), messages);
        EXPECT_EQ(form().exDenkoFilePath + "|" + form().exDenkoFileName, stored);
        EXPECT_EQ(form().HelpUrl, "https://help.example.net/");
    }
}
