// The prize settings file: defaults, the written file, bad values, foreign lines,
// a vanished race folder, and the title splitter.
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/ChildProcess.h"
#include "support/ProgramFixture.h"

namespace {

class PrizeParamsFile : public ProgramFixture {
  protected:
    std::filesystem::path Race() {
        auto folder = home.path() / "race";
        std::filesystem::create_directories(folder);
        form().DataFolder = folder;
        return folder;
    }
    std::vector<std::string> Lines(const std::filesystem::path& p) {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(p, bytes));
        EXPECT_EQ(bytes.find("\r\n") == std::string::npos, false);
        std::vector<std::string> out = Split(ReplaceAll(FromSjis(bytes), "\r\n", "\n"), '\n');
        if (!out.empty() && out.back().empty()) out.pop_back();
        return out;
    }
};

} // namespace

TEST_F(PrizeParamsFile, DefaultsWithoutFileAndTheFullFileOnSave) {
    const auto ini = Race() / "PrizeParam.INI";
    OutputForm->PrizeSettings.FontSize[0] = 1;
    OutputForm->LoadPrizeParams();
    const PrizeSettingsBlock& s = OutputForm->PrizeSettings;
    EXPECT_EQ(s.FontSize[0], 58);
    EXPECT_EQ(s.chiefNames[3], "社長 タヴレン次郎");
    EXPECT_TRUE(s.OneIsWinner);
    EXPECT_EQ(s.TeamPaperOrientation, 1);
    EXPECT_FALSE(FileExists(ini));

    OutputForm->SavePrizeParams();
    const auto lines = Lines(ini);
    ASSERT_EQ(lines.size(), 71u);
    EXPECT_EQ(lines[0], "[Params]");
    EXPECT_EQ(lines[1], "PrizeNums0=3");
    EXPECT_EQ(lines[4], "NeedNewPage=0");
    EXPECT_EQ(lines[8], "fontName=ＭＳ Ｐゴシック");
    EXPECT_EQ(lines[9], "prnName=");
    EXPECT_EQ(lines[47], "topMgLandscape=10");
    EXPECT_EQ(lines[58], "gloryWord=");
    EXPECT_EQ(lines[70], "date_gap2=0");
}

TEST_F(PrizeParamsFile, BadValuesReadAsDefaultsAndForeignLinesStay) {
    const auto ini = Race() / "PrizeParam.INI";
    ASSERT_TRUE(WriteSjisFile(ini, "; desk note\r\n[Params]\r\nNeedNewPage=true\r\nFontSize0=abc\r\n"
                                   "FontSize1=40\r\nClassAlias2= 一般 \r\nOwnKey=x\r\n[Other]\r\nA=1\r\n"));
    OutputForm->LoadPrizeParams();
    const PrizeSettingsBlock& s = OutputForm->PrizeSettings;
    EXPECT_FALSE(s.NeedNewPage);
    EXPECT_EQ(s.FontSize[0], 58);
    EXPECT_EQ(s.FontSize[1], 40);
    EXPECT_EQ(GetClassAlias(s, 'C'), "一般");
    EXPECT_EQ(GetClassAlias(s, 'K'), "");
    EXPECT_EQ(GetClassAlias(s, '*'), "");

    OutputForm->SavePrizeParams();
    const auto lines = Lines(ini);
    EXPECT_EQ(lines.size(), 71u + 4u);
    EXPECT_EQ(lines[0], "; desk note");
    for (const char* kept : {"OwnKey=x", "[Other]", "A=1", "NeedNewPage=0", "FontSize1=40"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), kept), lines.end()) << kept;
}

TEST_F(PrizeParamsFile, MissingFolderIsNamedAndNothingWritten) {
    const auto folder = Race();
    std::filesystem::remove(folder);
    ASSERT_TRUE(WriteFileBytes(folder, "plain file"));
    OutputForm->PrizeSettings.CRPos = 7;
    OutputForm->LoadPrizeParams();
    OutputForm->SavePrizeParams();
    EXPECT_EQ(dialogs.Joined(), folder.string() + "が存在しません。|" + folder.string() + "が存在しません。");
    EXPECT_EQ(OutputForm->PrizeSettings.CRPos, 7);
    form().DataFolder.clear();
    OutputForm->LoadPrizeParams();
    EXPECT_EQ(dialogs.Texts().size(), 2u);
}

TEST_F(PrizeParamsFile, SplitTextAtChars) {
    TOutputForm& w = *OutputForm;
    EXPECT_TRUE(w.SplitTextAtChars("第12回全国駅伝大会", 5));
    EXPECT_EQ(w.TitleLine1, "第12回全");
    EXPECT_EQ(w.TitleLine2, "国駅伝大会");
    EXPECT_TRUE(w.SplitTextAtChars("駅伝大会", 4)); // 8 bytes: the second line stays empty
    EXPECT_EQ(w.TitleLine1, "駅伝大会");
    EXPECT_EQ(w.TitleLine2, "");
    EXPECT_FALSE(w.SplitTextAtChars("駅伝大", 7));
    EXPECT_EQ(w.TitleLine1, "");
    EXPECT_FALSE(w.SplitTextAtChars("", 1));
}

TEST_F(PrizeParamsFile, FullDiskKeepsTheOldFile) {
    const auto ini = Race() / "PrizeParam.INI";
    ASSERT_TRUE(WriteSjisFile(ini, "[Params]\r\nCRPos=4\r\n"));
    OutputForm->PrizeSettings.CRPos = 9;
    EXPECT_TRUE(WithFileSizeLimit(100, [&] {
        OutputForm->SavePrizeParams();
        return dialogs.Saw(ini.string() + "\nの出力に失敗しました。");
    }));
    EXPECT_EQ(Lines(ini), (std::vector<std::string>{"[Params]", "CRPos=4"}));
}
