#include "platform/KanaWidth.h"

#include "platform/Text.h"

#include <gtest/gtest.h>

TEST(MapStringChars, HalfWidthSplitsVoicedMarksAndKeepsOtherScripts) {
    EXPECT_EQ(MapStringChars("チームＡ", kMapHalfWidth), "ﾁｰﾑA");
    EXPECT_EQ(MapStringChars("ガッコウ　パン！", kMapHalfWidth), "ｶﾞｯｺｳ ﾊﾟﾝ!");
    EXPECT_EQ(MapStringChars("ヴァイオリン", kMapHalfWidth), "ｳﾞｧｲｵﾘﾝ");
    EXPECT_EQ(MapStringChars("「第１区」、ひかり・漢字。", kMapHalfWidth), "｢第1区｣､ひかり･漢字｡");
    // No half-width form: kept as it is.
    EXPECT_EQ(MapStringChars("ヶ丘ヵ", kMapHalfWidth), "ヶ丘ヵ");
}

TEST(MapStringChars, FullWidthComposesVoicedMarks) {
    EXPECT_EQ(MapStringChars("ｶﾞｯｺｳ1", kMapFullWidth), "ガッコウ１");
    EXPECT_EQ(MapStringChars("ﾊﾟﾝ ﾋﾞﾙ ﾎﾟﾝﾄﾞ", kMapFullWidth), "パン　ビル　ポンド");
    EXPECT_EQ(MapStringChars("ｳﾞｨ~", kMapFullWidth), "ヴィ～");
    // A mark after a letter that takes none stays a separate full-width mark.
    EXPECT_EQ(MapStringChars("ｱﾞﾏﾟﾟ", kMapFullWidth), "ア゛マ゜゜");
    EXPECT_EQ(MapStringChars("漢字ひらがなＡ", kMapFullWidth), "漢字ひらがなＡ");
}

TEST(MapStringChars, WidthRoundTripOverEveryHalfWidthKana) {
    // Each letter alone: a blank in between keeps the marks from joining.
    std::string spaced;
    for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) spaced += FromU32(c) + " ";
    const std::string full = MapStringChars(spaced, kMapFullWidth);
    for (char32_t c : ToU32(full)) EXPECT_FALSE(c >= 0xFF61 && c <= 0xFF9F) << full;
    EXPECT_EQ(MapStringChars(full, kMapHalfWidth), spaced);

    const std::string voiced = "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ";
    EXPECT_EQ(MapStringChars(voiced, kMapFullWidth), "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ");
    EXPECT_EQ(MapStringChars(MapStringChars(voiced, kMapFullWidth), kMapHalfWidth), voiced);
}

TEST(MapStringChars, HiraganaAndKatakana) {
    EXPECT_EQ(MapStringChars("カタカナとｶﾀｶﾅ ABC ー", kMapHiragana), "かたかなとｶﾀｶﾅ ABC ー");
    EXPECT_EQ(MapStringChars("ヂョッキヽヾ", kMapHiragana), "ぢょっきゝゞ");
    // No Shift-JIS hiragana for these: they stay katakana.
    EXPECT_EQ(MapStringChars("ヴヵヶ", kMapHiragana), "ヴヵヶ");
    EXPECT_EQ(MapStringChars("ひらがなとカナ、ゔゝ漢字", kMapKatakana), "ヒラガナトカナ、ヴヽ漢字");
    EXPECT_EQ(MapStringChars("ぁをん", kMapKatakana), "ァヲン");
}

TEST(MapStringChars, OtherModesLeaveTheText) {
    EXPECT_EQ(MapStringChars("ｶﾀｶﾅ カナ", 4), "ｶﾀｶﾅ カナ");
    EXPECT_EQ(MapStringChars("ｶﾀｶﾅ カナ", -1), "ｶﾀｶﾅ カナ");
    EXPECT_EQ(MapStringChars("", kMapFullWidth), "");
}

TEST(ToZenkakuDigits, HalfAndFullWidthDigitsBecomeKanji) {
    EXPECT_EQ(ToZenkakuDigits("第12回"), "第一二回");
    EXPECT_EQ(ToZenkakuDigits("第１２回"), "第一二回");
    EXPECT_EQ(ToZenkakuDigits("2024年-0月 ９"), "二〇二四年-〇月 九");
    EXPECT_EQ(ToZenkakuDigits(""), "");
    EXPECT_EQ(ToZenkakuDigits("区間賞"), "区間賞");
}
