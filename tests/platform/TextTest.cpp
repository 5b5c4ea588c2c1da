#include "platform/Text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>
#include <random>

namespace {

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", c);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

// "%g" as printf gives it in the "C" locale, whatever the global locale is.
std::string printfG(double v) {
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t old = uselocale(c);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    uselocale(old);
    freelocale(c);
    return buf;
}

// Sets LC_NUMERIC (and LC_ALL) to a locale whose decimal point is a comma while it lives.
class CommaLocale {
  public:
    CommaLocale() {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "es_ES.UTF-8",
                                 "it_IT.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8", "pt_BR.UTF-8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
                name_ = name;
                return;
            }
        }
        std::setlocale(LC_ALL, saved_.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return !name_.empty(); }

  private:
    std::string saved_, name_;
};

} // namespace

TEST(TextSjis, KanjiAreTwoBytesHalfWidthKatakanaOne) {
    EXPECT_EQ(hex(ToSjis("東")), "93 8C");
    EXPECT_EQ(hex(ToSjis("ｶ")), "B6");
    EXPECT_EQ(hex(ToSjis("ﾟ")), "DF"); // U+FF9F
    EXPECT_EQ(hex(ToSjis("ﾁｰﾑ")), "C1 B0 D1");
    EXPECT_EQ(hex(ToSjis("A1 ")), "41 31 20");
    EXPECT_EQ(hex(ToSjis("\r\n")), "0D 0A");
    EXPECT_EQ(ToSjis(""), "");
}

TEST(TextSjis, RoundTripsJapaneseText) {
    for (const std::string s : {"東京都ABC", "ﾁｰﾑ名ｶﾞﾟ", "第１区　走者", "①Ⅱ㈱～－", "かなカナｶﾅ漢字123",
                                "チーム情報001.db", "%d年%d月%d日", "ＡＢＣ＠＃"}) {
        EXPECT_EQ(FromSjis(ToSjis(s)), s) << s;
    }
}

TEST(TextSjis, CharactersCp932LacksBecomeQuestionMarks) {
    EXPECT_EQ(ToSjis("a😀b"), "a?b");
    EXPECT_EQ(ToSjis("한글"), "??");
    EXPECT_EQ(FromSjis(ToSjis("東😀京")), "東?京");
    // Invalid UTF-8 bytes are replaced as well, one '?' each, and the rest goes on.
    EXPECT_EQ(ToSjis(std::string("A\xFF"
                                 "B\xE6\x9D",
                                 5)),
              "A?B?");
    EXPECT_EQ(ToSjis(std::string("\xC0\xAF"
                                 "x")),
              "??x");
}

TEST(TextSjis, InvalidSjisBytesBecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(FromSjis("\xFF"), fffd);
    EXPECT_EQ(FromSjis("A\x81"), "A" + fffd);      // lead byte cut off at the end
    EXPECT_EQ(FromSjis("\x81\x20Z"), fffd + " Z"); // lead byte with a bad trail byte
    EXPECT_EQ(FromSjis("\x93\x8C\xFD\x93\x8C"), "東" + fffd + "東");
    EXPECT_EQ(FromSjis("\xB6\xDF"), "ｶﾟ");
    EXPECT_EQ(FromSjis(""), "");
    EXPECT_EQ(FromSjis(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextSjis, RandomBytesNeverCrashAndGiveValidUtf8) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(rng() % 40, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() & 0xFF);
        const std::string utf8 = FromSjis(bytes);
        EXPECT_TRUE(IsValidUtf8(utf8)) << hex(bytes);
        // And the other way: arbitrary bytes as "UTF-8" do not crash the encoder.
        const std::string sjis = ToSjis(bytes);
        EXPECT_LE(sjis.size(), bytes.size() * 2);
        EXPECT_EQ(CutSjis(bytes, 10).size() <= bytes.size(), true);
    }
}

// Files we read: a mark or valid multi-byte UTF-8 means UTF-8, anything else Shift-JIS;
// each comes back through EncodeText as it was.
TEST(TextSjis, DecodedFilesTellTheirEncoding) {
    using E = TextEncoding;
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string bytes, text;
        E encoding;
    } cases[] = {
        {"", "", E::ShiftJis},
        {"a=1\r\n", "a=1\r\n", E::ShiftJis}, // plain ASCII
        {ToSjis("メモ=日本語ﾃｽﾄ"), "メモ=日本語ﾃｽﾄ", E::ShiftJis},
        {"メモ=日本語の設定", "メモ=日本語の設定", E::Utf8},
        {bom + "R=Résultats", "R=Résultats", E::Utf8Bom},
        {bom + "x", "x", E::Utf8Bom},
        {"\xC3\xBD", "ý", E::Utf8}, // "ﾃｽ" in Shift-JIS is valid UTF-8 as well
    };
    for (const auto& c : cases) {
        const DecodedText d = DecodeText(c.bytes);
        EXPECT_EQ(d.Text, c.text) << c.bytes;
        EXPECT_EQ(d.Encoding, c.encoding) << c.bytes;
        EXPECT_EQ(EncodeText(d.Text, d.Encoding), c.bytes);
    }
    // Broken UTF-8 after a mark, and Shift-JIS bytes that are none: U+FFFD each.
    EXPECT_EQ(DecodeText(bom + "a\xFF").Text, "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeText("\x81\xFF").Encoding, E::ShiftJis);
}

TEST(TextSjis, LengthsInSjisBytes) {
    EXPECT_EQ(SjisLength("東京都ABC"), 9);
    EXPECT_EQ(SjisLength("ﾁｰﾑ"), 3);
    EXPECT_EQ(SjisLength("チーム"), 6);
    EXPECT_EQ(SjisLength(""), 0);
    EXPECT_EQ(SjisLength("😀"), 1); // becomes one '?'
    EXPECT_EQ(SjisLength("ｱｲｳｴｵ漢字"), 9);
    // Counted as the converter writes the text, a broken sequence and repeats included.
    for (const std::string s : {"\xE3\x81", "a\xFF東", "東京東京ｱｱ①①"})
        EXPECT_EQ(SjisLength(s), static_cast<int>(ToSjis(s).size())) << s;
}

// Columns of a fixed-pitch font: as Shift-JIS counts them, and a character it lacks as wide
// as it is drawn rather than as its one "?".
TEST(TextSjis, DisplayWidthCountsColumns) {
    const std::pair<const char*, int> cases[] = {{"東京都ABC", 9}, {"ﾁｰﾑ", 3}, {"𠮷田", 4}, {"😀a", 3},
                                                 {"é", 1},          {"", 0},    {"한", 2}};
    for (auto [text, width] : cases)
        EXPECT_EQ(DisplayWidth(text), width) << text;
}

TEST(TextSjis, CutNeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(CutSjis("東京都ABC", 5), "東京");
    EXPECT_EQ(CutSjis("東京都ABC", 6), "東京都");
    EXPECT_EQ(CutSjis("東京都ABC", 7), "東京都A");
    EXPECT_EQ(CutSjis("東京都ABC", 9), "東京都ABC");
    EXPECT_EQ(CutSjis("東京都ABC", 100), "東京都ABC");
    EXPECT_EQ(CutSjis("東京都ABC", 1), "");
    EXPECT_EQ(CutSjis("東京都ABC", 0), "");
    EXPECT_EQ(CutSjis("東京都ABC", -3), "");
    EXPECT_EQ(CutSjis("ｱｲｳ東", 4), "ｱｲｳ");
    EXPECT_EQ(CutSjis("ｱｲｳ東", 5), "ｱｲｳ東");
    EXPECT_EQ(CutSjis("Aﾀﾞｲｽｹ", 3), "Aﾀﾞ");
    EXPECT_EQ(CutSjis("ab😀c", 3), "ab😀");
    // Every cut is a prefix within the limit, and one more character would exceed it.
    const std::string s = "第1区ﾁｰﾑ名　東京ＡＢ";
    for (int n = 0; n <= 25; ++n) {
        const std::string c = CutSjis(s, n);
        EXPECT_LE(SjisLength(c), n);
        EXPECT_EQ(s.compare(0, c.size(), c), 0);
        if (c.size() < s.size()) {
            const std::u32string rest = ToU32(s.substr(c.size()));
            EXPECT_GT(SjisLength(c + FromU32(rest[0])), n);
        }
    }
}

TEST(TextParse, IntegersTrimmedSignedWithinRange) {
    EXPECT_EQ(StrToIntDef(" 12 ", -1), 12);
    EXPECT_EQ(StrToIntDef("\t7\t", -1), 7);
    EXPECT_EQ(StrToIntDef("-0", -1), 0);
    EXPECT_EQ(StrToIntDef("+5", -1), 5);
    EXPECT_EQ(StrToIntDef("-15", 0), -15);
    EXPECT_EQ(StrToIntDef("007", 0), 7);
    EXPECT_EQ(StrToIntDef("2147483647", 0), INT_MAX);
    EXPECT_EQ(StrToIntDef("-2147483648", 0), INT_MIN);
    EXPECT_EQ(StrToIntDef("2147483648", -999), -999);
    EXPECT_EQ(StrToIntDef("-2147483649", -999), -999);
    EXPECT_EQ(StrToIntDef("99999999999999999999", -999), -999);
    EXPECT_EQ(StrToIntDef("1e3", -1), -1);
    EXPECT_EQ(StrToIntDef("12a", -1), -1);
    EXPECT_EQ(StrToIntDef("", -1), -1);
    EXPECT_EQ(StrToIntDef("   ", -1), -1);
    EXPECT_EQ(StrToIntDef("+", -1), -1);
    EXPECT_EQ(StrToIntDef("-", -1), -1);
    EXPECT_EQ(StrToIntDef("+-1", -1), -1);
    EXPECT_EQ(StrToIntDef("1 2", -1), -1);
    EXPECT_EQ(StrToIntDef("1.0", -1), -1);
    EXPECT_EQ(StrToIntDef("0x1A", -1), -1);
    EXPECT_EQ(StrToIntDef("$1A", -1), -1);
    EXPECT_EQ(StrToIntDef("１２", -1), -1); // full-width digits
    EXPECT_EQ(StrToIntDef("\xE3\x80\x80"
                          "12",
                          -1),
              -1); // full-width space is not a blank
    int v = 42;
    EXPECT_FALSE(TryStrToInt("x", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TryStrToInt(" -3", v));
    EXPECT_EQ(v, -3);
}

TEST(TextParse, FloatsAreLocaleFree) {
    EXPECT_DOUBLE_EQ(StrToFloatDef("5.095", 0), 5.095);
    EXPECT_DOUBLE_EQ(StrToFloatDef(" 42.195 ", 0), 42.195);
    EXPECT_DOUBLE_EQ(StrToFloatDef("-0.5", 0), -0.5);
    EXPECT_DOUBLE_EQ(StrToFloatDef("+.5", 0), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloatDef("1e3", 0), 1000.0);
    EXPECT_DOUBLE_EQ(StrToFloatDef("10", 0), 10.0);
    EXPECT_DOUBLE_EQ(StrToFloatDef("5,095", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("abc", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("1.5x", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("inf", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("nan", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("1e999", -1), -1);
    EXPECT_DOUBLE_EQ(StrToFloatDef("0x10", -1), -1);
}

TEST(TextFormat, FloatToStrGMatchesPrintfG) {
    EXPECT_EQ(FloatToStrG(5.095), "5.095");
    EXPECT_EQ(FloatToStrG(42.195), "42.195");
    EXPECT_EQ(FloatToStrG(10.0), "10");
    EXPECT_EQ(FloatToStrG(0.5), "0.5");
    EXPECT_EQ(FloatToStrG(0.0), "0");
    EXPECT_EQ(FloatToStrG(1e-05), "1e-05");
    EXPECT_EQ(FloatToStrG(1234567.0), "1.23457e+06");
    EXPECT_EQ(FloatToStrG(-2.5), "-2.5");
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             0.1,
                             0.0001,
                             0.00001,
                             123456.0,
                             999999.5,
                             1000000.0,
                             1e100,
                             -1e-300,
                             DBL_MAX,
                             DBL_MIN,
                             5e-324,
                             3.14159265,
                             2.0 / 3.0,
                             100.05,
                             21.0975,
                             0.30000000000000004,
                             1e21,
                             12.5};
    for (double v : values)
        EXPECT_EQ(FloatToStrG(v), printfG(v)) << v;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(-10.0, 10.0);
    std::uniform_int_distribution<int> ex(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double v = mant(rng) * std::pow(10.0, ex(rng));
        ASSERT_EQ(FloatToStrG(v), printfG(v)) << v;
    }
}

TEST(TextFormat, NumbersIgnoreACommaLocale) {
    CommaLocale loc;
    if (!loc.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", 0.5);
    ASSERT_STREQ(buf, "0,5"); // the locale really is in effect for printf
    EXPECT_EQ(FloatToStrG(5.095), "5.095");
    EXPECT_EQ(FloatToStrG(0.5), "0.5");
    EXPECT_EQ(Format("%g|%.2f|%d", 42.195, 1.5, 1234567), "42.195|1.50|1234567");
    EXPECT_EQ(Format("%'d", 1234567), "1234567"); // no grouping either
    EXPECT_DOUBLE_EQ(StrToFloatDef("5.095", 0), 5.095);
    EXPECT_DOUBLE_EQ(StrToFloatDef("5,095", -1), -1);
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
}

TEST(TextFormat, FormatAndThousands) {
    EXPECT_EQ(Format("%d-%s-%05.1f", 3, "東京", 2.5), "3-東京-002.5");
    EXPECT_EQ(Format("%s", std::string(2000, 'x').c_str()).size(), 2000u); // beyond the stack buffer
    EXPECT_EQ(Format("%%"), "%");
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(-1234), "-1,234");
    EXPECT_EQ(FormatThousands(-999), "-999");
    EXPECT_EQ(FormatThousands(LLONG_MIN), "-9,223,372,036,854,775,808");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(LLONG_MAX), "9223372036854775807");
}

TEST(TextStrings, TrimSplitReplaceCase) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(Trim("\xE3\x80\x80"
                   "a"),
              "\xE3\x80\x80"
              "a"); // full-width space stays
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Split("a,b,,c", ','), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(Split("a,", ','), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Split("", ','), (std::vector<std::string>{""}));
    EXPECT_TRUE(StartsWith("チーム情報001.db", "チーム"));
    EXPECT_FALSE(StartsWith("ab", "abc"));
    EXPECT_TRUE(EndsWith("file.INI", ".INI"));
    EXPECT_FALSE(EndsWith("I", ".INI"));
    EXPECT_EQ(ReplaceAll("a%b%%c", "%", "%%"), "a%%b%%%%c");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(UpperAscii("abcＡｂ東"), "ABCＡｂ東");
    EXPECT_EQ(LowerAscii("ABC東"), "abc東");
}

TEST(TextStrings, Utf32RoundTrip) {
    const std::string s = "A東ｶ😀\xC2\xA9";
    const std::u32string u = ToU32(s);
    EXPECT_EQ(u, (std::u32string{U'A', U'東', U'ｶ', U'😀', U'\u00A9'}));
    EXPECT_EQ(FromU32(u), s);
    EXPECT_EQ(ToU32("\xFF"
                    "a"),
              (std::u32string{U'\uFFFD', U'a'}));
    EXPECT_EQ(FromU32(static_cast<char32_t>(0xD800)), "\xEF\xBF\xBD");
    EXPECT_TRUE(IsValidUtf8("東京"));
    EXPECT_FALSE(IsValidUtf8("\x93\x8C")); // Shift-JIS bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
}
