// The clipboard result texts of F1's overall view: the result grid and the team texts
// in their three modes, and the leg view's refusals that leave the clipboard alone.
#include "output/TOutputForm.h"
#include "support/F1Race.h"

using Lines = std::vector<std::string>;

namespace {

Lines split(const std::string& text, const std::string& end) {
    Lines lines;
    size_t from = 0;
    for (size_t at; (at = text.find(end, from)) != std::string::npos; from = at + end.size())
        lines.push_back(text.substr(from, at - from));
    if (from != text.size()) lines.push_back("<unended>" + text.substr(from));
    return lines;
}

} // namespace

TEST_F(F1Race, ResultGridOnTheClipboard) {
    BuildF1();
    ShowF1(0);
    OutputForm->ActionClipCopy.Execute();
    EXPECT_EQ(dialogs.Joined(), "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。");
    const Lines rows = split(clipboard.GetText(), "\r\n");
    ASSERT_EQ(rows.size(), 9u) << clipboard.GetText();
    EXPECT_EQ(rows[0], "\t\t\t氏名\t\t\t鈴木  次郎\t★\t\t山田  太郎");
    EXPECT_EQ(rows[1], "1\t1\t東京\t通算\t2\t0:15:45\t\t1\t0:34:40\t");
    EXPECT_EQ(rows[2], "\t\t\t区間\t2\t0:15:45\t\t1\t0:18:55\t");
    EXPECT_EQ(rows[3], "\t\t\t氏名\t★◎\t\t佐藤  一郎\t\t\t高橋  三郎");
    EXPECT_EQ(rows[7], "3\t3\t横浜\t通算\t3\t0:16:10\t\t3\t0:36:00\t");
}

TEST_F(F1Race, ResultGridWithClassPlaces) {
    BuildF1();
    Class(1, "A");
    Class(2, "B");
    Class(3, "A");
    Alias(3, 30);
    dialogs.AnswerModal([](FormBase& f) { // the leg chooser: overall
        static_cast<TKukanParamForm&>(f).OKBtn.Execute();
        return f.ModalResultValue();
    });
    dialogs.AnswerModal([](FormBase& f) { // the class chooser: every class
        static_cast<TKukanParamForm&>(f).OKBtn.Execute();
        return f.ModalResultValue();
    });
    form().OutputResultExecute();
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes); // "クラス順位が必要ですか?"
    OutputForm->ActionClipCopy.Execute();
    EXPECT_TRUE(dialogs.Saw("クラス順位が必要ですか?"));
    const Lines rows = split(clipboard.GetText(), "\r\n");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].substr(0, 6), "\tA-1\t\t");
    EXPECT_EQ(rows[6].substr(0, 6), "\tA-2\t\t");
    EXPECT_TRUE(StartsWith(rows[7], "3\t30\t横浜\t")) << rows[7];
    // 横浜 is second in class A on leg 2 behind 東京, the leg winner: no class prize there;
    // on leg 1 東京 is best of class A behind 大阪AC (B): ◇.
    EXPECT_TRUE(StartsWith(rows[0], "\tA-1\t\t氏名\t◇\t")) << rows[0];
}

TEST_F(F1Race, TeamTextsOnTheClipboard) {
    BuildF1();
    ShowF1(0);
    OutputForm->N6.Execute();
    const Lines team = split(clipboard.GetText(), "\n");
    ASSERT_EQ(team.size(), 4u) << clipboard.GetText();
    EXPECT_EQ(team[0], "No.\tﾁｰﾑ名\t順位\t本年タイム\t昨年タイム\t躍進(秒)\t(ﾀｲﾑ)\t(順位)\t1区\t2区\t補1\t本年和タイム");
    EXPECT_EQ(team[1], "1\t東京\t1\t0:34:40\t0:35:00\t-20\t○ 0:00:20\t1\t鈴木 次郎\t山田 太郎\t\t34分40秒");
    EXPECT_EQ(team[2], "2\t大阪AC\t2\t0:34:55\t0:34:50\t5\t× 0:00:05\t2\t佐藤 一郎\t高橋 三郎\t\t34分55秒");
    EXPECT_EQ(team[3], "3\t横浜\t3\t0:36:00\t0:00:00\t0\t0:00:00\t0\t田中 四郎\t伊藤 五郎\t\t36分0秒");
    EXPECT_EQ(dialogs.Joined(), "ﾁｰﾑ総合成績をクリップボードにコピーしました。\nワード差し込み印刷等にに利用出来ます。");

    // Mode 0: title, the same lines, the passing history and the leg winners; the
    // division from the organiser memo becomes a last column.
    form().OrgName.SetLines({"主催：テスト協会", "部門：一般"});
    OutputForm->TeamResultExcel.Execute();
    const Lines all = split(clipboard.GetText(), "\n");
    ASSERT_GE(all.size(), 15u) << clipboard.GetText();
    EXPECT_EQ(all[0], "総合順位とタイム");
    EXPECT_TRUE(EndsWith(all[1], "\t本年和タイム\t部門"));
    EXPECT_TRUE(EndsWith(all[2], "\t34分40秒\t一般"));
    EXPECT_EQ(Lines(all.begin() + 5, all.end()),
              (Lines{"", "通過順位の推移", "No.\tﾁｰﾑ名\t1区\t2区\t", "1\t東京\t2\t1", "2\t大阪AC\t1\t2", "3\t横浜\t3\t3", "",
                     "区間賞獲得者", "区間\t選手名\tチーム名\tタイム\tリマーク", "1区\t佐藤  一郎\t大阪AC\t15'20\"\t区間新",
                     "2区\t山田  太郎\t東京\t18'55\"\t"}));

    // Mode 2: every runner's result for mail merge.
    OutputForm->N7.Execute();
    const Lines runners = split(clipboard.GetText(), "\n");
    ASSERT_EQ(runners.size(), 7u) << clipboard.GetText();
    EXPECT_EQ(runners[0], "区間\t順位\t選手名\t選手カナ\t学年\tチーム名\tタイム\t和タイム\tカテゴリ\tカテゴリ名\tカテゴリ順位");
    EXPECT_TRUE(StartsWith(runners[1], "1\t1\t佐藤 一郎\tｻﾄｳ ｲﾁﾛｳ\t0\t大阪AC\t")) << runners[1];
}

TEST_F(F1Race, LegViewRefusesTheClipboardTexts) {
    BuildF1();
    ShowF1(1);
    clipboard.SetText("before");
    dialogs.ClearLog();
    OutputForm->CopyResultToClipboard();
    for (Action* a : {&OutputForm->N6, &OutputForm->N7})
        a->Execute();
    OutputForm->CopyTeamResultText(0);
    EXPECT_EQ(dialogs.Texts(), (Lines{"全出力でないとこの機能は使用できません。", "出力結果が総合成績ではありません。",
                                      "出力結果が総合成績ではありません。", "出力結果が総合成績ではありません。"}));
    EXPECT_FALSE(OutputForm->TeamResultExcel.Enabled());
    EXPECT_EQ(clipboard.GetText(), "before");
}
