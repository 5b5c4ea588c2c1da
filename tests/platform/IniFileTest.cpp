#include "platform/IniFile.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class IniFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "tavren-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string bytesOf(const fs::path& p) {
        std::string b;
        EXPECT_TRUE(ReadFileBytes(p, b));
        return b;
    }
    fs::path dir;
};

} // namespace

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndIsCreatedAtFirstWrite) {
    const fs::path p = dir / "theTavren.INI";
    IniFile ini(p);
    EXPECT_EQ(ini.FileName(), p);
    EXPECT_EQ(ini.ReadString("WorkFiles", "exCsvFilePath", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("Params", "x", -7), -7);
    EXPECT_TRUE(ini.ReadBool("Params", "b", true));
    EXPECT_FALSE(ini.ValueExists("Params", "x"));
    EXPECT_FALSE(FileExists(p)); // reads never create the file
    EXPECT_TRUE(ini.WriteString("WorkFiles", "exCsvFilePath", "C:\\data"));
    EXPECT_TRUE(FileExists(p));
    EXPECT_EQ(bytesOf(p), "[WorkFiles]\r\nexCsvFilePath=C:\\data\r\n");
}

TEST_F(IniFileTest, JapaneseRoundTripIsShiftJisWithCrLfOnDisk) {
    const fs::path p = dir / "PrizeParam.INI";
    {
        IniFile ini(p);
        ASSERT_TRUE(ini.WriteString("賞設定", "大会名", "第１回ﾘﾚｰ大会"));
        ASSERT_TRUE(ini.WriteInteger("賞設定", "人数", 12));
        ASSERT_TRUE(ini.WriteBool("Params", "chk100", true));
        ASSERT_TRUE(ini.WriteBool("Params", "useDnkoDefault", false));
        ASSERT_TRUE(ini.WriteInteger("Params", "s_1", -3));
        EXPECT_EQ(ini.ReadString("賞設定", "大会名", ""), "第１回ﾘﾚｰ大会");
    }
    const std::string expected = "[賞設定]\r\n大会名=第１回ﾘﾚｰ大会\r\n人数=12\r\n"
                                 "[Params]\r\nchk100=1\r\nuseDnkoDefault=0\r\ns_1=-3\r\n";
    EXPECT_EQ(bytesOf(p), ToSjis(expected));
    EXPECT_NE(bytesOf(p).find("\x91\xE6\x82\x50\x89\xF1\xD8\xDA\xB0"), std::string::npos); // 第１回ﾘﾚｰ

    IniFile again(p); // a new object reads what was written
    EXPECT_EQ(again.ReadString("賞設定", "大会名", ""), "第１回ﾘﾚｰ大会");
    EXPECT_EQ(again.ReadInteger("賞設定", "人数", 0), 12);
    EXPECT_TRUE(again.ReadBool("Params", "chk100", false));
    EXPECT_FALSE(again.ReadBool("Params", "useDnkoDefault", true));
    EXPECT_EQ(again.ReadInteger("Params", "s_1", 0), -3);
}

TEST_F(IniFileTest, NamesAreCaseInsensitiveAndOrderIsKept) {
    const fs::path p = dir / "a.INI";
    IniFile ini(p);
    ASSERT_TRUE(ini.WriteString("Params", "FromPath", "x"));
    ASSERT_TRUE(ini.WriteString("WorkFiles", "lstDBS_Path", "y"));
    ASSERT_TRUE(ini.WriteString("params", "FROMPATH", "z")); // same key, another spelling
    ASSERT_TRUE(ini.WriteString("PARAMS", "second", "2"));
    EXPECT_EQ(ini.ReadString("pArAmS", "frompath", ""), "z");
    EXPECT_TRUE(ini.ValueExists("WORKFILES", "LSTDBS_PATH"));
    // The first spelling of the section and key is kept; new keys go to the end of their section.
    EXPECT_EQ(bytesOf(p), "[Params]\r\nFromPath=z\r\nsecond=2\r\n[WorkFiles]\r\nlstDBS_Path=y\r\n");
}

TEST_F(IniFileTest, WrongTypesGiveDefaults) {
    const fs::path p = dir / "t.INI";
    ASSERT_TRUE(WriteFileBytes(p, "[P]\r\ntext=abc\r\nfloat=1.5\r\nbig=2147483648\r\nempty=\r\n"
                                  "hex1=$1A\r\nhex2=0x1A\r\nhex3=0XfF\r\nneg=-$10\r\nsp=  42  \r\n"
                                  "b2=2\r\nbneg=-1\r\nb0=0\r\nbtrue=true\r\nsci=1e3\r\nplus=+5\r\n"
                                  "allf=$FFFFFFFF\r\nnine=$123456789\r\n"));
    IniFile ini(p);
    EXPECT_EQ(ini.ReadInteger("P", "text", -1), -1);
    EXPECT_EQ(ini.ReadInteger("P", "float", -1), -1);
    EXPECT_EQ(ini.ReadInteger("P", "big", -1), -1);
    EXPECT_EQ(ini.ReadInteger("P", "empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("P", "sci", -1), -1);
    EXPECT_EQ(ini.ReadInteger("P", "missing", -999), -999);
    EXPECT_EQ(ini.ReadInteger("Nope", "text", 5), 5);
    EXPECT_EQ(ini.ReadInteger("P", "hex1", -1), 26);
    EXPECT_EQ(ini.ReadInteger("P", "hex2", -1), 26);
    EXPECT_EQ(ini.ReadInteger("P", "hex3", -1), 255);
    EXPECT_EQ(ini.ReadInteger("P", "neg", 0), -16);
    EXPECT_EQ(ini.ReadInteger("P", "allf", 0), -1);
    EXPECT_EQ(ini.ReadInteger("P", "nine", 7), 7);
    EXPECT_EQ(ini.ReadInteger("P", "sp", -1), 42);
    EXPECT_EQ(ini.ReadInteger("P", "plus", -1), 5);
    EXPECT_TRUE(ini.ReadBool("P", "b2", false));
    EXPECT_TRUE(ini.ReadBool("P", "bneg", false));
    EXPECT_FALSE(ini.ReadBool("P", "b0", true));
    EXPECT_TRUE(ini.ReadBool("P", "btrue", true)); // not a number: the default
    EXPECT_FALSE(ini.ReadBool("P", "btrue", false));
    EXPECT_TRUE(ini.ReadBool("P", "text", true));
    EXPECT_FALSE(ini.ReadBool("P", "missing", false));
    EXPECT_EQ(ini.ReadString("P", "empty", "d"), ""); // present but empty is not missing
    EXPECT_TRUE(ini.ValueExists("P", "empty"));
}

TEST_F(IniFileTest, ReadsLfOnlyAndBomFilesAndKeepsOtherLines) {
    const fs::path p = dir / "lf.INI";
    ASSERT_TRUE(WriteFileBytes(p, ToSjis("; comment\n[Params]\n  key1 = value 1  \n; note\n\nkey2=\"quoted\"\n"
                                         "[ 大会 ]\n名前=ﾃｽﾄ大会\n[Params]\nkey1=second section ignored\n")));
    {
        IniFile ini(p);
        EXPECT_EQ(ini.ReadString("Params", "key1", ""), "value 1");
        EXPECT_EQ(ini.ReadString("Params", "key2", ""), "quoted");
        EXPECT_EQ(ini.ReadString("大会", "名前", ""), "ﾃｽﾄ大会");
        EXPECT_FALSE(ini.ValueExists("Params", "; note"));
        ASSERT_TRUE(ini.WriteString("Params", "key3", "新"));
    }
    // Written back as Shift-JIS with CR LF; comments and blank lines stay where they were.
    EXPECT_EQ(bytesOf(p), ToSjis("; comment\r\n[Params]\r\nkey1=value 1\r\n; note\r\n\r\nkey2=\"quoted\"\r\n"
                                 "key3=新\r\n[大会]\r\n名前=ﾃｽﾄ大会\r\n[Params]\r\n"
                                 "key1=second section ignored\r\n"));

    const fs::path q = dir / "bom.INI";
    ASSERT_TRUE(WriteFileBytes(q, "\xEF\xBB\xBF[S]\r\nk=東\r\n"));
    EXPECT_EQ(IniFile(q).ReadString("s", "K", ""), "東");

    const fs::path r = dir / "sjis.INI";
    ASSERT_TRUE(WriteFileBytes(r, ToSjis("[S]\nｶﾅ=ﾃｽﾄ\n")));
    EXPECT_EQ(IniFile(r).ReadString("S", "ｶﾅ", ""), "ﾃｽﾄ");
}

// "ﾃｽ" in Shift-JIS is C3 BD, which is also valid UTF-8: still a Shift-JIS file.
// "ﾃｽ" in Shift-JIS is C3 BD, which would read back as UTF-8: the file is written as
// UTF-8 with its mark instead.
TEST_F(IniFileTest, ShiftJisThatLooksLikeUtf8RoundTrips) {
    const fs::path p = dir / "tavren.INI";
    ASSERT_TRUE(IniFile(p).WriteString("WorkFiles", "exDenkoFileName", "ﾃｽ"));
    EXPECT_EQ(bytesOf(p), "\xEF\xBB\xBF[WorkFiles]\r\nexDenkoFileName=ﾃｽ\r\n");
    IniFile again(p);
    EXPECT_EQ(again.ReadString("WorkFiles", "exDenkoFileName", ""), "ﾃｽ");
    ASSERT_TRUE(again.WriteBool("Params", "chk100", true));
    EXPECT_EQ(IniFile(p).ReadString("WorkFiles", "exDenkoFileName", ""), "ﾃｽ");
    EXPECT_EQ(bytesOf(p), "\xEF\xBB\xBF[WorkFiles]\r\nexDenkoFileName=ﾃｽ\r\n[Params]\r\nchk100=1\r\n");
}

// Every character survives a write and a restart: a file is written back in the encoding
// it was read in, and becomes UTF-8 with its mark when a value Shift-JIS lacks comes in.
TEST_F(IniFileTest, EncodingIsKeptOrBecomesUtf8WithAMark) {
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string before; // the file as it was ("" none)
        const char* key;
        const char* value;
        std::string after;
        const char* kept; // the value of the key "大会" or "メモ" already there
    } cases[] = {
        {"", "exDenkoFilePath", "/srv/Résultats/電光/", bom + "[P]\r\nexDenkoFilePath=/srv/Résultats/電光/\r\n", ""},
        {ToSjis("[P]\r\n大会=第１回\r\n"), "path", "/srv/Résultats/",
         bom + "[P]\r\n大会=第１回\r\npath=/srv/Résultats/\r\n", "第１回"},
        {"[P]\r\nメモ=日本語の設定\r\n", "chk100", "1", "[P]\r\nメモ=日本語の設定\r\nchk100=1\r\n", // by hand
         "日本語の設定"},
        {"[P]\r\nchk100=0\r\n", "chk100", "1", "[P]\r\nchk100=1\r\n", ""}, // plain ASCII
        {ToSjis("[P]\r\n大会=第１回\r\n"), "名前", "ﾘﾚｰ大会", ToSjis("[P]\r\n大会=第１回\r\n名前=ﾘﾚｰ大会\r\n"),
         "第１回"},
        {bom + "[P]\r\n大会=東\r\n", "chk100", "1", bom + "[P]\r\n大会=東\r\nchk100=1\r\n", "東"},
    };
    const fs::path p = dir / "tavren.INI";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        DeleteFileAt(p);
        if (!c.before.empty()) {
            ASSERT_TRUE(WriteFileBytes(p, c.before));
        }
        const auto kept = [&p] { return IniFile(p).ReadString("P", "大会", "") + IniFile(p).ReadString("P", "メモ", ""); };
        EXPECT_EQ(kept(), c.kept);
        ASSERT_TRUE(IniFile(p).WriteString("P", c.key, c.value));
        EXPECT_EQ(bytesOf(p), c.after);
        EXPECT_EQ(IniFile(p).ReadString("P", c.key, ""), c.value); // after a restart
        EXPECT_EQ(kept(), c.kept);
    }
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails) {
    IniFile ini(dir / "no" / "such" / "x.INI");
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_FALSE(ini.WriteBool("S", "b", true));
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "def"); // a failed write leaves nothing behind
    EXPECT_FALSE(FileExists(dir / "no" / "such" / "x.INI"));
}

TEST_F(IniFileTest, WritesKeepChangesMadeThroughAnotherObject) {
    const fs::path p = dir / "ini1.INI";
    IniFile a(p), b(p);
    ASSERT_TRUE(a.WriteInteger("Params", "s_1", 3));
    ASSERT_TRUE(b.WriteInteger("Params", "s_2", 4));
    IniFile c(p);
    EXPECT_EQ(c.ReadInteger("Params", "s_1", 0), 3);
    EXPECT_EQ(c.ReadInteger("Params", "s_2", 0), 4);
}

TEST_F(IniFileTest, LineBreaksInValuesDoNotMakeNewKeys) {
    const fs::path p = dir / "x.INI";
    IniFile ini(p);
    ASSERT_TRUE(ini.WriteString("S", "k", "a\r\nevil=1"));
    IniFile again(p);
    EXPECT_FALSE(again.ValueExists("S", "evil"));
    EXPECT_EQ(again.ReadString("S", "k", ""), "a  evil=1");
    EXPECT_EQ(ListDir(dir), std::vector<std::string>{"x.INI"}); // no temporary file left
}
