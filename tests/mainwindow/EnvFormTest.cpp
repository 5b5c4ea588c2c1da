#include "database/RaceFixture.h"
#include "mainwindow/TFormEnv.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Text.h"

#include <functional>

namespace {
const char* kEmptyPath = "空白パス名には設定できませんでした。";
const char* kEmptyName = "空白ファイル名には設定できませんでした。";
} // namespace

// The settings window over a race open on edition 1, as the desk reaches it from the menu.
class EnvForm : public RaceFixture {
  protected:
    void SetUp() override {
        RaceFixture::SetUp();
        openRace(2, 1, 3);
        resetSettings();
    }
    void resetSettings() {
        form().exDenkoFilePath = "/desk/board/";
        form().exDenkoFileName = "board.txt";
        form().exExcelMacroName = "theTavrenPrintStd.xls";
        form().PRTCHG_NO = false;
        dialogs.ClearLog();
    }
    TFormEnv& env() { return *FormEnv; }

    // Opens the window from the menu, makes the edits, closes it with OK.
    void edit(const std::function<void(TFormEnv&)>& edits) {
        dialogs.AnswerModal([this, edits](FormBase&) {
            env().FormShow();
            edits(env());
            env().OKBtn.Execute();
            return env().ModalResultValue();
        });
        form().OpenEnvForm.Execute();
    }
    std::string iniText() {
        std::string bytes;
        ReadFileBytes(program->IniPath(), bytes);
        return FromSjis(bytes);
    }
};

TEST_F(EnvForm, TakesTheEditsOnCloseAndRefusesAnEmptyFolderOrName) {
    struct Case {
        const char* what;
        std::function<void(TFormEnv&)> edits;
        std::string messages;
        std::string folder, name, macro;
        bool prtchg;
    };
    const Case cases[] = {
        {"no edits", [](TFormEnv&) {}, "", "/desk/board/", "board.txt", "theTavrenPrintStd.xls", false},
        {"folder emptied, switch ticked",
         [](TFormEnv& e) {
             e.EditLogFilePath.SetText("");
             e.CheckChgPrt.SetChecked(true);
         },
         kEmptyPath, "/desk/board/", "board.txt", "theTavrenPrintStd.xls", true},
        {"both emptied, macro emptied",
         [](TFormEnv& e) {
             e.EditLogFilePath.SetText("");
             e.DenkoFileName.SetText("");
             e.EMacroFileName.SetText("");
         },
         std::string(kEmptyPath) + "|" + kEmptyName, "/desk/board/", "board.txt", "", false},
        {"name emptied, folder typed",
         [](TFormEnv& e) {
             e.DenkoFileName.SetText("");
             e.EditLogFilePath.SetText("/new/");
         },
         kEmptyName, "/new/", "board.txt", "theTavrenPrintStd.xls", false},
    };
    for (const Case& c : cases) {
        resetSettings();
        edit(c.edits);
        EXPECT_EQ(dialogs.Joined(), c.messages) << c.what;
        EXPECT_EQ(form().exDenkoFilePath, c.folder) << c.what;
        EXPECT_EQ(form().exDenkoFileName, c.name) << c.what;
        EXPECT_EQ(form().exExcelMacroName, c.macro) << c.what;
        EXPECT_EQ(form().PRTCHG_NO, c.prtchg) << c.what;
        EXPECT_EQ(env().ModalResultValue(), mrOk) << c.what;
    }
    // Both settings empty, nothing edited: no message, as nothing is taken.
    form().exDenkoFilePath.clear();
    form().exDenkoFileName.clear();
    dialogs.ClearLog();
    edit([](TFormEnv& e) { EXPECT_EQ(e.EditLogFilePath.Text(), ""); });
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    // An empty macro name is taken: the macro command then finds no workbook.
    form().exExcelMacroName.clear();
    form().OpenExcelMacro.SetEnabled(true);
    form().OpenExcelMacroExecute();
    EXPECT_TRUE(dialogs.Saw((program->ProgramFolder() / "").string() + "\nが見つかりません"));
}

TEST_F(EnvForm, EverySettingShowsAndComesBackAndTheHelpAddressStaysOutOfTheIniFile) {
    edit([](TFormEnv& e) {
        e.EditLogFilePath.SetText("/srv/denko");
        e.DenkoFileName.SetText("電光.txt");
        e.EMacroFileName.SetText("print.xls");
        e.EHelpURL.SetText("https://help.example.net/tavren");
        for (CheckBox* c : {&e.CheckDenkoOpt, &e.CheckFurigana, &e.CheckAutoClose, &e.CheckChgPrt, &e.CheckOleFont})
            c->SetChecked(true);
    });
    const TMainForm& m = form();
    EXPECT_EQ(m.exDenkoFilePath, "/srv/denko");
    EXPECT_EQ(m.exDenkoFileName, "電光.txt");
    EXPECT_EQ(m.exExcelMacroName, "print.xls");
    EXPECT_TRUE(m.useDnkoDefault && m.useFuriganaCTR && m.closeAutoRecForm && m.PRTCHG_NO && m.NoUseOleFont);
    EXPECT_FALSE(FileExists(program->IniPath())) << "the settings wait for the close";

    // Shown again as they are now, every switch included.
    edit([](TFormEnv& e) {
        EXPECT_EQ(e.EHelpURL.Text(), "https://help.example.net/tavren");
        EXPECT_EQ(e.DenkoFileName.Text(), "電光.txt");
        EXPECT_TRUE(e.CheckDenkoOpt.Checked() && e.CheckOleFont.Checked());
        e.CheckFurigana.SetChecked(false);
    });
    EXPECT_FALSE(m.useFuriganaCTR);

    dialogs.AnswerDlg(mrYes);
    form().HelpContentsExecute();
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], "https://help.example.net/tavren");

    dialogs.AnswerDlg(mrYes);
    ASSERT_TRUE(form().FormClose());
    const std::string ini = iniText();
    EXPECT_EQ(ini.find("help.example.net"), std::string::npos);
    EXPECT_NE(ini.find("exDenkoFileName=電光.txt\r\n"), std::string::npos);
    EXPECT_NE(ini.find("PRTCHG_NO=1\r\n"), std::string::npos);
    Start();
    EXPECT_EQ(form().exDenkoFilePath, "/srv/denko");
    EXPECT_TRUE(form().NoUseOleFont);
    EXPECT_FALSE(form().useFuriganaCTR);
    EXPECT_NE(form().HelpUrl, "https://help.example.net/tavren");
}

TEST_F(EnvForm, TheFolderIsPickedThroughAFileInIt) {
    const std::optional<std::string> answers[] = {"/data/denko/out.txt", std::nullopt, "/top.txt"};
    const std::string shown[] = {"/data/denko/", "/data/denko/", "/"};
    for (int i = 0; i < 3; ++i) {
        dialogs.AnswerFile(answers[i]);
        edit([](TFormEnv& e) { e.bGetPath.Execute(); });
        EXPECT_EQ(dialogs.LastFileSpec().Filter, "TXT|*.txt");
        EXPECT_EQ(form().exDenkoFilePath, shown[i]) << i;
    }
}
