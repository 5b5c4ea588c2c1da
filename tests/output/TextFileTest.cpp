// The shared writer of output text files: Shift-JIS with CR LF, byte-counted padding,
// and a failed write that never passes for success nor damages the file already there.
#include "output/TextFile.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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
