// The prize data file of every final showing on F1: its lines byte for byte, the leg
// view's part of it, a class filter, interim results, and the failures that must
// never pass for a written file.
#include "output/TOutputForm.h"
#include "support/F1Race.h"
#include "support/ChildProcess.h"

using Lines = std::vector<std::string>;

class PrizeData : public F1Race {
  protected:
    std::filesystem::path file() { return form().DataFolder / "prize_result.csv"; }
    const std::string header = "区間,順位,クラス,マーク,選手名,カナ,所属名,記録,距離,躍進順位,躍進タイム,クラス順位,リマーク";
    const std::string fixed1 = "-2,-2,*,-2,***,***,***,0,0.0,0,0,0,0";
    const std::string fixed2 = "-1,-1,*,-1,テスト駅伝,***,2024/01/14,0,11.1,0,0,0,0";
    const std::string leg1 = "1,1,*,1,佐藤 一郎,ｻﾄｳ ｲﾁﾛｳ,大阪AC,1520,5,0,0,0,1";
};

TEST_F(PrizeData, FinalShowingsWriteTheFile) {
    BuildF1();
    ShowF1(0);
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    EXPECT_EQ(FileLines(file()), (Lines{header, fixed1, fixed2, leg1, "2,1,*,1,山田 太郎,ﾔﾏﾀﾞ ﾀﾛｳ,東京,1855,6.1,0,0,0,-1",
                                        "0,1,*,0,東京,***,***,3440,0,1,-20,1,2",
                                        "0,2,*,0,大阪AC,***,***,3455,0,2,5,2,0",
                                        "0,3,*,0,横浜,***,***,3600,0,0,0,3,0"}));
    // The leg view of leg 1 writes its own leg only; a name with "%" and "," goes out as it is.
    form().TeamEntryGrid.SetCells(1, 2, "大阪%d,AC");
    dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
    ShowF1(1);
    EXPECT_EQ(FileLines(file()), (Lines{header, fixed1, fixed2, "1,1,*,1,佐藤 一郎,ｻﾄｳ ｲﾁﾛｳ,大阪%d,AC,1520,5,0,0,0,1"}));
}

TEST_F(PrizeData, ClassFilterAndHundredths) {
    BuildF1();
    Class(1, "A");
    Class(2, "B");
    Class(3, "B");
    form().chk100.SetChecked(true); // distances in metres, times in hundredths
    for (int leg = 1; leg <= 2; ++leg)
        for (int row = 1; row <= 3; ++row)
            Cell(leg, row, form().InputGrid.Cells(2 * leg - 1, row + 1), form().InputGrid.Cells(2 * leg, row + 1) + "00");
    form().KukanInfGrid.SetCells(3, 1, "153000");
    dialogs.AnswerModal([](FormBase& f) { // the leg: overall
        auto& d = static_cast<TKukanParamForm&>(f);
        d.KukanListBox.SetItemIndex(0);
        d.OKBtn.Execute();
        return f.ModalResultValue();
    });
    dialogs.AnswerModal([](FormBase& f) { // the class: "B クラスのみ"
        auto& d = static_cast<TKukanParamForm&>(f);
        d.KukanListBox.SetItemIndex(2);
        d.OKBtn.Execute();
        return f.ModalResultValue();
    });
    form().OutputResultExecute();
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    const Lines lines = FileLines(file());
    ASSERT_EQ(lines.size(), 7u) << ::testing::PrintToString(lines);
    // Class B is 大阪AC and 横浜: 大阪AC wins leg 1 outright and leg 2 in its class.
    EXPECT_EQ(lines[3], "1,1,B,1,佐藤 一郎,ｻﾄｳ ｲﾁﾛｳ,大阪AC,152000,5000,0,0,0,1");
    EXPECT_EQ(lines[4], "2,1,B,1,高橋 三郎,***,大阪AC,193500,6100,0,0,0,-1");
    EXPECT_TRUE(StartsWith(lines[5], "0,1,B,0,大阪AC,")) << lines[5];
    EXPECT_TRUE(StartsWith(lines[6], "0,2,B,0,横浜,")) << lines[6];
}

TEST_F(PrizeData, NothingWrittenWhenItMustNotBe) {
    BuildF1();
    // Interim results: the file of the earlier final showing stays.
    ShowF1(0);
    const Lines final = FileLines(file());
    Cell(2, 3, "", "");
    dialogs.AnswerDlg(mrYes);
    ShowF1(0);
    EXPECT_FALSE(form().ResultFinal);
    EXPECT_EQ(FileLines(file()), final);
    Cell(2, 3, "3", "3600");
    // "開催日" that is not a date: a message, no file, the view stays.
    form().taikaiBestGrid.SetCells(1, 1, "未定");
    std::filesystem::remove(file());
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    ShowF1(0);
    EXPECT_TRUE(dialogs.Saw("開催日が日付ではないので prize_result.csv を出力できません。")) << dialogs.Joined();
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_TRUE(OutputForm->OutputTTLGrid.Visible());
    // A folder in the file's place, and a full disk: the failure message.
    form().taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    std::filesystem::create_directory(file());
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    ShowF1(0);
    EXPECT_TRUE(dialogs.Saw("ファイルがオープン出来ません")) << dialogs.Joined();
    std::filesystem::remove(file());
    ASSERT_TRUE(OutputForm->WritePrizeResultCsv());
    EXPECT_TRUE(WithFileSizeLimit(64, [&] {
        dialogs.ClearLog();
        return !OutputForm->WritePrizeResultCsv() && dialogs.Joined() == "ファイルがオープン出来ません";
    }));
    EXPECT_EQ(FileLines(file()).size(), 8u);
}
