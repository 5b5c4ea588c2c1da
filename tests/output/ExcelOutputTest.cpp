// The Excel output of the result window over F1: the tab text of each view, the
// workbook read back, the file names, a workbook held open, the batch and the offer
// of the print macro workbook.
#include "platform/Files.h"
#include "platform/Workbook.h"
#include "support/F1Race.h"
#include "support/StatementCount.h"
#include "support/XlsxCells.h"

#include <fstream>
#include <functional>

namespace {

std::string line(const std::string& text, int n) {
    std::vector<std::string> lines = Split(text, '\n');
    return n - 1 < static_cast<int>(lines.size()) ? lines[n - 1] : std::string();
}

} // namespace

class ExcelOutput : public F1Race {
  protected:
    std::filesystem::path dir() { return home.path() / "books"; }
    void SetUp() override {
        F1Race::SetUp();
        BuildF1();
        LoadKukanBlob(); // the distances and their total, as the open road reads them
        std::filesystem::create_directories(dir());
    }
    // Excel question Yes, the save dialog answered with name.
    void SaveAs(const std::string& name) {
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerFile((dir() / name).string());
    }
};

TEST_F(ExcelOutput, OverallTextAndWorkbookWithAndWithoutKana) {
    ShowF1(0);
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo); // ﾌﾘｶﾞﾅ
    SaveAs("r");
    OutputForm->PutToExcelExecute();
    const std::string text = clipboard.GetText();
    EXPECT_EQ(text.substr(0, text.find("\n  大会記録")),
              "テスト駅伝 総合成績     ★ = 区間賞、◎ = 新、▽ = タイ\n主催：テスト協会\nとき:2024年1月14日\n"
              "総合成績\t第 1 区\t第 2 区\t\n  距離 11.1km\t5km\t6.1km\t");
    EXPECT_EQ(line(text, 6), "  大会記録 34'40\"\t15'30\"\t\t");
    EXPECT_EQ(line(text, 7), "\t鈴木  次郎\t山田  太郎\t");
    EXPECT_EQ(dialogs.Texts().at(0), "ﾌﾘｶﾞﾅが必要ですか？");
    const std::string book = (dir() / "r.xlsx").string();
    EXPECT_EQ(dialogs.Texts().back(), book + "\nが作成されました。");
    auto cells = ReadXlsxCells(book);
    EXPECT_EQ(cells["A1"].text, "テスト駅伝 総合成績     ★ = 区間賞、◎ = 新、▽ = タイ");
    EXPECT_EQ(cells["B7"].text, "鈴木  次郎");
    EXPECT_EQ(cells["A8"].text, "    1)  東京");
    EXPECT_EQ(cells["B6"].text, "15'30\"");
    for (auto& [name, cell] : cells)
        EXPECT_FALSE(cell.number) << name;

    dialogs.AnswerDlg(mrYes); // ﾌﾘｶﾞﾅ
    dialogs.AnswerDlg(mrNo);  // no workbook
    OutputForm->PutToExcelExecute();
    EXPECT_EQ(line(clipboard.GetText(), 8), "        \tｽｽﾞｷ ｼﾞﾛｳ\tﾔﾏﾀﾞ ﾀﾛｳ\t");
    EXPECT_TRUE(StartsWith(line(clipboard.GetText(), 9), "    1)  東京\t[ 2] 15'45\""));
}

TEST_F(ExcelOutput, LegViewHasNoDistancesAndNumbersStayNumbers) {
    ShowF1(2);
    dialogs.ClearLog();
    SaveAs("leg2.xls");
    OutputForm->PutToExcelExecute();
    const std::string text = clipboard.GetText();
    EXPECT_EQ(line(text, 1), "第 2 区");
    EXPECT_EQ(line(text, 2), "テスト駅伝 (チーム順) ★=区間賞、◎=新、▽=タイ");
    EXPECT_TRUE(StartsWith(line(text, 5), "通過順位\tNoｶｰﾄﾞ\tチーム名\t"));
    EXPECT_EQ(text.find("距離"), std::string::npos);
    auto cells = ReadXlsxCells((dir() / "leg2.xlsx").string());
    for (const char* name : {"A6", "B6", "F6"}) {
        EXPECT_TRUE(cells[name].number) << name;
        EXPECT_EQ(cells[name].text, "1") << name;
    }
    EXPECT_EQ(cells["C6"].text, "東京");
}

TEST_F(ExcelOutput, FileNamesLocksAndUnwritableFolders) {
    ShowF1(1);
    const std::pair<const char*, const char*> names[] = {
        {"r", "r.xlsx"}, {"r.xls", "r.xlsx"}, {"r.txt", "r.txt"}};
    for (auto [typed, saved] : names) {
        std::filesystem::remove(dir() / saved);
        dialogs.ClearLog();
        SaveAs(typed);
        OutputForm->PutToExcelExecute();
        EXPECT_TRUE(FileExists(dir() / saved)) << typed;
        EXPECT_EQ(dialogs.Texts().back(), (dir() / saved).string() + "\nが作成されました。");
    }
    // Held open by a spreadsheet program: the existing workbook stays as it was.
    const std::string before = [&] {
        std::string b;
        ReadFileBytes(dir() / "r.xlsx", b);
        return b;
    }();
    for (const char* lock : {".~lock.r.xlsx#", "~$r.xlsx"}) {
        std::ofstream(dir() / lock) << "x";
        dialogs.ClearLog();
        SaveAs("r");
        OutputForm->PutToExcelExecute();
        EXPECT_EQ(dialogs.Texts().back(), "そのﾌｧｲﾙはオープンされています。保存できませんでした。");
        std::string after;
        ReadFileBytes(dir() / "r.xlsx", after);
        EXPECT_EQ(after, before);
        std::filesystem::remove(dir() / lock);
    }
    // A lock file without its workbook: nothing is open, the save goes on.
    std::ofstream(dir() / ".~lock.new.xlsx#") << "x";
    EXPECT_EQ(form().OpenExcelMacroBook((dir() / "new.xlsx").string(), 1, false), 2);
    SaveAs("new");
    OutputForm->PutToExcelExecute();
    EXPECT_TRUE(FileExists(dir() / "new.xlsx"));
    // The folder is a plain file: the error, no notice, nothing opened.
    std::ofstream(home.path() / "plain") << "x";
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerFile((home.path() / "plain" / "r").string());
    OutputForm->PutToExcelExecute();
    EXPECT_NE(dialogs.Texts().back().find("ワークブックを作成できませんでした"), std::string::npos);
    EXPECT_FALSE(dialogs.Saw((home.path() / "plain" / "r.xlsx").string() + "\nが作成されました。"));
    EXPECT_TRUE(shell.Opened.empty());
}

TEST_F(ExcelOutput, BatchShowsTheNoticesAndMacroBookIsOfferedOnce) {
    ShowF1(0);
    dialogs.ClearLog();
    OutputForm->Macro.Execute();
    EXPECT_FALSE(OutputForm->BatchMode);
    EXPECT_EQ(dialogs.Texts().size(), 1u) << dialogs.Joined();
    EXPECT_NE(dialogs.Texts()[0].find("クリップボードにコピーしました。"), std::string::npos);
    EXPECT_TRUE(ListDir(dir()).empty());

    // The print macro workbook in the program folder: No once, then never asked again.
    // The batch's notices went with it: the next Excel question is asked alone.
    std::ofstream(home.path() / form().exExcelMacroName) << "macro";
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo); // ﾌﾘｶﾞﾅ
    SaveAs("a");
    dialogs.AnswerDlg(mrNo); // 印刷用ｴｸｾﾙﾏｸﾛﾌﾞｯｸを開きますか？
    OutputForm->PutToExcelExecute();
    EXPECT_EQ(dialogs.Texts().at(1), "クリップボードにコピーしました。\nExcel に出力しますか？");
    EXPECT_TRUE(form().MacroBookDeclined);
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo); // ﾌﾘｶﾞﾅ
    SaveAs("b");
    OutputForm->PutToExcelExecute();
    EXPECT_FALSE(dialogs.Saw("印刷用ｴｸｾﾙﾏｸﾛﾌﾞｯｸを開きますか？"));
    EXPECT_TRUE(shell.Opened.empty());
    // The main window's action still asks, and opens it.
    form().OpenExcelMacro.SetEnabled(true);
    dialogs.AnswerDlg(mrYes);
    form().OpenExcelMacro.Execute();
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], (home.path() / form().exExcelMacroName).string());
}

// The readings of every team come from one read of the runner table (and one question
// whether there are any).
TEST_F(ExcelOutput, ReadingsReadTheRunnersOnce) {
    ShowF1(0);
    dialogs.AnswerDlg(mrYes); // ﾌﾘｶﾞﾅ
    dialogs.AnswerDlg(mrNo);  // no workbook
    EXPECT_EQ(StatementsNaming("選手情報", [] { OutputForm->PutToExcelExecute(); }), 2);
    EXPECT_EQ(line(clipboard.GetText(), 8), "        \tｽｽﾞｷ ｼﾞﾛｳ\tﾔﾏﾀﾞ ﾀﾛｳ\t");
}

// A desktop with no program for workbooks opens nothing, and says so, whichever road
// asked for the print macro workbook.
TEST_F(ExcelOutput, AWorkbookTheDesktopCannotOpenIsReported) {
    const std::string macro = (home.path() / form().exExcelMacroName).string();
    std::ofstream(macro) << "macro";
    shell.OpenSucceeds = false;
    ShowF1(1);
    form().OpenExcelMacro.SetEnabled(true);
    const std::function<void()> roads[] = {[&] {
                                               SaveAs("r");
                                               dialogs.AnswerDlg(mrYes); // 印刷用ｴｸｾﾙﾏｸﾛﾌﾞｯｸを開きますか？
                                               OutputForm->PutToExcelExecute();
                                           },
                                           [&] {
                                               dialogs.AnswerDlg(mrYes);
                                               form().OpenExcelMacro.Execute();
                                           }};
    for (const auto& road : roads) {
        dialogs.ClearLog();
        shell.Opened.clear();
        road();
        EXPECT_EQ(dialogs.Texts().back(), macro + "\nを開けませんでした。");
        EXPECT_EQ(shell.Opened, std::vector<std::string>{macro}); // the saved workbook is not tried
        EXPECT_FALSE(dialogs.Saw("すでにｵｰﾌﾟﾝされています。"));
    }
}
