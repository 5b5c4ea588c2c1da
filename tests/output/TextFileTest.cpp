// The shared writer of output text files: Shift-JIS with CR LF, byte-counted padding,
// and a failed write that never passes for success nor damages the file already there.
#include "output/TextFile.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/ChildProcess.h"
#include "support/F1Race.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

TEST(TextFile, BytesAreShiftJisWithCrLf) {
    struct Case {
        std::string text;
        TextFileOptions opt;
        std::string bytes;
    } cases[] = {
        {"東京\n", {}, "\x93\x8C\x8B\x9E\r\n"},
        {"a\r\nb\n\n", {}, "a\r\nb\r\n\r\n"},
        {"ｱ 100%\n", {}, "\xB1 100%\r\n"},
        {"\xF0\xA0\xAE\xB7田", {}, "?\x93\x63"},
        {"\xF0\xA0\xAE\xB7田", {.charRefs = true}, "&#x20BB7;\x93\x63"},
    };
    for (const Case& c : cases) EXPECT_EQ(TextFileBytes(c.text, c.opt), c.bytes) << c.text;
}

TEST(TextFile, PaddingCountsShiftJisBytes) {
    EXPECT_EQ(PadLeftSjis("東京", 6), "  東京");
    EXPECT_EQ(PadRightSjis("ｱｲ", 4), "ｱｲ  ");
    EXPECT_EQ(PadRightSjis("大阪AC", 4), "大阪AC"); // wider than the field: kept whole
    EXPECT_EQ(PadLeftSjis("", 2), "  ");
}

TEST(TextFile, FailedWritesReportFalseAndKeepTheOldFile) {
    TempDir dir;
    const fs::path file = dir.path() / "out.txt";
    ASSERT_TRUE(WriteTextFile(file, "old\n"));
    EXPECT_FALSE(WriteTextFile(dir.path() / "missing" / "out.txt", "x"));
    fs::create_directory(dir.path() / "folder.txt");
    EXPECT_FALSE(WriteTextFile(dir.path() / "folder.txt", "x"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder.txt"));
    // A full disk: the child's write fails, the old text stays, no temporary is left.
    EXPECT_FALSE(WithFileSizeLimit(8, [&] { return WriteTextFile(file, std::string(4096, 'x')); }));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "old\r\n");
    EXPECT_EQ(ListDir(dir.path()).size(), 2u);
    EXPECT_TRUE(WithFileSizeLimit(1 << 20, [&] { return WriteTextFile(file, "new\n", {.sync = false}); }));
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "new\r\n");
}

// Every Shift-JIS output of F1 with 𠮷 in a team and a runner name: the file keeps "?"
// for it, and the desk is told once, by file, which texts it could not write whole.
class ShiftJisOutputs : public F1Race {};

TEST_F(ShiftJisOutputs, SayOnceWhatTheyCouldNotWriteWhole) {
    BuildF1();
    LoadKukanBlob();
    form().useDnkoDefault = true;
    form().StartListExcel.SetEnabled(true);
    TeamRow(1, "𠮷高", "3500");
    PutRunner(1, 2, {"𠮷田", "太郎", "ﾖｼﾀﾞ", "ﾀﾛｳ"});
    const fs::path folder = form().DataFolder;
    const struct {
        fs::path file;
        std::function<void()> write;
        std::vector<std::string> texts;
    } cases[] = {
        {folder / "prize_result.csv", [&] { ShowF1(0); }, {"𠮷田", "𠮷高"}},
        {folder / "dnkodata.txt", [&] { OutputForm->PutToDenko.Execute(); }, {"_𠮷高", "𠮷田"}},
        {folder / "DataHTML" / "csv" / "members.csv",
         [&] {
             dialogs.AnswerDlg(mrYes); // the real-time list, team order, no Excel list
             dialogs.AnswerDlg(mrYes);
             dialogs.AnswerDlg(mrNo);
             form().StartListExcel.Execute();
         },
         {"𠮷高", "𠮷田"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.filename().string());
        dialogs.ClearLog();
        c.write();
        const std::vector<std::string> said = dialogs.Texts();
        EXPECT_EQ(std::count_if(
                      said.begin(), said.end(),
                      [&](const std::string& t) { return StartsWith(t, c.file.string() + "\nShift-JIS"); }),
                  1)
            << dialogs.Joined();
        EXPECT_TRUE(dialogs.Saw(UnwrittenTextsNotice(c.file, c.texts))) << dialogs.Joined();
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(c.file, bytes));
        EXPECT_NE(bytes.find(ToSjis("?高")), std::string::npos);
        EXPECT_NE(bytes.find(ToSjis("?田")), std::string::npos);
    }
}

TEST(TextFile, UnwrittenTextsAreNamedOnceAndAtMostTenOfThem) {
    EXPECT_EQ(SjisLackingTexts("1,𠮷田  太郎,\"한 글\"\r\n2,𠮷田,東京?\n"),
              (std::vector<std::string>{"𠮷田", "한", "글"}));
    EXPECT_TRUE(SjisLackingTexts("東京? ｱ\n").empty());
    std::vector<std::string> many;
    for (int i = 0; i < 12; ++i)
        many.push_back("𠮷" + IntToStr(i));
    const std::string notice = UnwrittenTextsNotice("/r/a.txt", many);
    EXPECT_TRUE(StartsWith(notice, "/r/a.txt\nShift-JISで表せない文字を「?」にして書きました:\n𠮷0\n𠮷1\n"));
    EXPECT_TRUE(EndsWith(notice, "\n𠮷9\nほか2件"));
}
