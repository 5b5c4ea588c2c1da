// The scoreboard file of F1: the overall view's sections, a leg view with "2区のみ" and
// with "全て", the start list of the main window, and every refusal and failure,
// which must leave no file, no numbered copy and no "を保存しました".
#include "output/TOKRightDlg.h"
#include "output/TOutputForm.h"
#include "output/TextFile.h"
#include "support/F1Race.h"
#include "support/ChildProcess.h"

using Lines = std::vector<std::string>;

class Scoreboard : public F1Race {
  protected:
    void SetUp() override {
        F1Race::SetUp();
        BuildF1();
        form().useDnkoDefault = true;
    }
    std::filesystem::path file(const std::string& name = "dnkodata.txt") { return form().DataFolder / name; }
    // Answers the leg question with the first ("%d区のみ") or the second button ("全て").
    void AnswerLegQuestion(bool onlyThisLeg, std::string* caption = nullptr) {
        dialogs.AnswerModal([onlyThisLeg, caption](FormBase& f) {
            auto& d = static_cast<TOKRightDlg&>(f);
            if (caption) *caption = d.OKBtn.Caption();
            (onlyThisLeg ? d.OKBtn : d.NoBtn).Execute();
            return f.ModalResultValue();
        });
    }
    void Denko() {
        dialogs.ClearLog();
        OutputForm->PutToDenko.Execute();
    }
};

TEST_F(Scoreboard, OverallView) {
    ShowF1(0);
    Denko();
    const Lines leg1 = {":", "第1区 個人成績", "区間記録15'30\" ", "距離5km", "  1 15'20\" 佐藤  一郎 _大阪AC",
                        "  2 15'45\" 鈴木  次郎 _東京", "  3 16'10\" 田中  四郎 _横浜"};
    const Lines leg2 = {":", "第2区 個人成績", "", "距離6.1km", "  1 18'55\" 山田  太郎 _東京",
                        "  2 19'35\" 高橋  三郎 _大阪AC", "  3 19'50\" 伊藤  五郎 _横浜"};
    Lines expected = {"テスト駅伝", "最終結果", "", "  1 34'40\" _東京  ", "  2 34'55\" _大阪AC", "  3 36'00\" _横浜  ",
                      ":", "テスト駅伝", "個人賞獲得者 2区まで", " ★区間賞", " 1区 ★ 15'20\" 佐藤  一郎 _大阪AC",
                      " 2区 ★ 18'55\" 山田  太郎 _東京"};
    expected.insert(expected.end(), leg1.begin(), leg1.end());
    expected.insert(expected.end(), leg2.begin(), leg2.end());
    EXPECT_EQ(FileLines(file()), expected);
    EXPECT_EQ(FileLines(file("dnkodata_0.txt")), expected);
    EXPECT_EQ(form().LastDenkoFile, file().string());
    EXPECT_EQ(dialogs.Joined(), file().string() + "\nを保存しました。");
}

TEST_F(Scoreboard, LegViews) {
    ShowF1(2);
    std::string caption;
    AnswerLegQuestion(true, &caption);
    Denko();
    EXPECT_EQ(caption, "2区のみ");
    const Lines gaps = {"テスト駅伝", "第2区", "タイム差", "  1    ↓ ~     _東京", "  2   15\" ~     _大阪AC",
                        "  3 1'20\" ~1'05\" _横浜"};
    Lines lines = FileLines(file());
    ASSERT_EQ(lines.size(), 19u) << ::testing::PrintToString(lines);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 9), (Lines{gaps[0], gaps[1], gaps[2], gaps[3], gaps[4], gaps[5], ":",
                                                              "第2区 個人成績", ""}));
    EXPECT_EQ(lines[13], ":");
    EXPECT_EQ(lines[15], "個人賞獲得者 2区まで");
    EXPECT_EQ(FileLines(file("dnkodata_2.txt")), lines);
    // "全て": the runners of legs 2 and 1, in that order, then the prize winners.
    AnswerLegQuestion(false);
    Denko();
    lines = FileLines(file());
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[7], "第2区 個人成績");
    EXPECT_EQ(lines[14], "第1区 個人成績");
    EXPECT_EQ(lines[20], ":");
    // Leg 1: no question and no prize section.
    dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
    ShowF1(1);
    Denko();
    EXPECT_EQ(FileLines(file()).size(), 13u);
    EXPECT_EQ(FileLines(file("dnkodata_1.txt")).back(), "  3 16'10\" 田中  四郎 _横浜");
}

TEST_F(Scoreboard, RefusalsAndFailuresWriteNothing) {
    ShowF1(0);
    form().useDnkoDefault = false;
    Denko();
    EXPECT_EQ(dialogs.Joined(), "電光ﾃﾞｰﾀの出力パスが設定されていません。\n環境設定を確認して下さい。");
    form().useDnkoDefault = true;
    form().exDenkoFileName = "";
    Denko();
    EXPECT_EQ(dialogs.Joined(), "電光ﾃﾞｰﾀのファイル名が設定されていません。\n環境設定を確認して下さい。");
    EXPECT_FALSE(std::filesystem::exists(file()));
    // The folder is a plain file: the failure message, no name kept, no copy.
    form().exDenkoFileName = "dnkodata.txt";
    form().useDnkoDefault = false;
    form().exDenkoFilePath = file("plain").string();
    ASSERT_TRUE(WriteTextFile(file("plain"), "x\n"));
    form().LastDenkoFile = "old";
    Denko();
    EXPECT_EQ(dialogs.Joined(), "ファイルがオープン出来ませんでした\n環境設定を確認して下さい。");
    EXPECT_EQ(form().LastDenkoFile, "");
    // A full disk, in a child process.
    form().useDnkoDefault = true;
    EXPECT_TRUE(WithFileSizeLimit(100, [&] {
        Denko();
        return dialogs.Joined() == "ファイルがオープン出来ませんでした\n環境設定を確認して下さい。" &&
               form().LastDenkoFile.empty();
    }));
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_FALSE(std::filesystem::exists(file("dnkodata_0.txt")));
    // Interim results are not for the scoreboard.
    Cell(2, 3, "", "");
    dialogs.AnswerDlg(mrYes);
    ShowF1(0);
    Denko();
    EXPECT_EQ(dialogs.Joined(), "途中情報は電光出力できません。");
}

TEST_F(Scoreboard, StartListOfTheMainWindow) {
    Alias(1, 10);
    form().TeamEntryGrid.SetCells(4, 2, ""); // an empty OP cell runs
    Op(3, 2);                                // absent
    dialogs.AnswerDlg(mrNo);
    form().denkoStartList.Execute();
    EXPECT_FALSE(std::filesystem::exists(file()));
    dialogs.AnswerDlg(mrYes);
    form().denkoStartList.Execute();
    EXPECT_TRUE(dialogs.Saw("電光ｽﾀｰﾄﾁｰﾑを出力してもいいですか？"));
    EXPECT_EQ(FileLines(file()), (Lines{"テスト駅伝", "", "出場チーム", "  2 大阪AC", " 10 東京"}));
    EXPECT_FALSE(std::filesystem::exists(file("dnkodata_0.txt")));
}

// The title lines carry the race name trimmed; with no race open the start list has
// no folder to go to and writes nothing.
TEST_F(Scoreboard, TitleLinesTrimTheRaceNameAndNoRaceWritesNoStartList) {
    form().ReceName.SetText("  テスト駅伝  ");
    ShowF1(0);
    Denko();
    const Lines overall = FileLines(file());
    EXPECT_EQ(overall.at(0), "テスト駅伝");
    EXPECT_EQ(overall.at(7), "テスト駅伝");
    dialogs.AnswerDlg(mrYes);
    form().denkoStartList.Execute();
    EXPECT_EQ(FileLines(file()).at(0), "テスト駅伝");

    form().TaikaiOpen = false;
    form().DataFolder.clear();
    dialogs.ClearLog();
    form().denkoStartList.Execute();
    EXPECT_EQ(dialogs.Joined(), "大会が開かれていません。");
    EXPECT_FALSE(std::filesystem::exists("dnkodata.txt"));
}
