#include "platform/KanaWidth.h"

#include "platform/Text.h"

#include <unordered_map>

namespace {

constexpr char32_t kHalfFirst = 0xFF61; // ｡
constexpr char32_t kHalfLast = 0xFF9F;  // ﾟ
constexpr char32_t kHalfVoiced = 0xFF9E;
constexpr char32_t kHalfSemiVoiced = 0xFF9F;

// Full-width forms of U+FF61..U+FF9F, in that order.
constexpr char32_t kHalfToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
static_assert(sizeof(kHalfToFull) / sizeof(kHalfToFull[0]) == kHalfLast - kHalfFirst + 1);

constexpr char32_t kFullU = 0x30A6;  // ウ
constexpr char32_t kFullVu = 0x30F4; // ヴ

bool isHalfKana(char32_t c) { return c >= kHalfFirst && c <= kHalfLast; }
// ｶ..ﾄ and ﾊ..ﾎ take the voiced mark; ﾊ..ﾎ also the semi-voiced one.
bool takesSemiVoiced(char32_t half) { return half >= 0xFF8A && half <= 0xFF8E; }
bool takesVoiced(char32_t half) { return (half >= 0xFF76 && half <= 0xFF84) || takesSemiVoiced(half) || half == 0xFF73; }

// One half-width letter, joined with a following mark where a full-width letter exists.
char32_t composeFull(char32_t half, char32_t next, bool& usedNext) {
    char32_t full = kHalfToFull[half - kHalfFirst];
    usedNext = true;
    if (next == kHalfVoiced && takesVoiced(half)) return full == kFullU ? kFullVu : full + 1;
    if (next == kHalfSemiVoiced && takesSemiVoiced(half)) return full + 2;
    usedNext = false;
    return full;
}

// Full-width kana and marks to their half-width spelling, the marks split off.
const std::unordered_map<char32_t, std::u32string>& fullToHalf() {
    static const std::unordered_map<char32_t, std::u32string> table = [] {
        std::unordered_map<char32_t, std::u32string> t;
        for (char32_t h = kHalfFirst; h <= kHalfLast; ++h) {
            char32_t full = kHalfToFull[h - kHalfFirst];
            t[full] = std::u32string(1, h);
            if (h == 0xFF73) t[kFullVu] = {h, kHalfVoiced};
            else if (takesVoiced(h)) t[full + 1] = {h, kHalfVoiced};
            if (takesSemiVoiced(h)) t[full + 2] = {h, kHalfSemiVoiced};
        }
        t[0x30F7] = {0xFF9C, kHalfVoiced}; // ヷ
        t[0x30FA] = {0xFF66, kHalfVoiced}; // ヺ
        return t;
    }();
    return table;
}

std::u32string toFullWidth(const std::u32string& in) {
    std::u32string out;
    for (size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c == U' ') out += 0x3000;
        else if (c >= 0x21 && c <= 0x7E) out += c - 0x21 + 0xFF01;
        else if (isHalfKana(c)) {
            bool usedNext = false;
            out += composeFull(c, i + 1 < in.size() ? in[i + 1] : 0, usedNext);
            if (usedNext) ++i;
        } else out += c;
    }
    return out;
}

std::u32string toHalfWidth(const std::u32string& in) {
    const auto& kana = fullToHalf();
    std::u32string out;
    for (char32_t c : in) {
        if (c == 0x3000) out += U' ';
        else if (c >= 0xFF01 && c <= 0xFF5E) out += c - 0xFF01 + 0x21;
        else if (auto it = kana.find(c); it != kana.end()) out += it->second;
        else out += c;
    }
    return out;
}

// ヴ, ヵ and ヶ stay: their hiragana have no Shift-JIS code and would be lost in the files.
std::u32string toHiragana(std::u32string s) {
    for (char32_t& c : s) {
        if (c >= 0x30A1 && c <= 0x30F3) c -= 0x60;
        else if (c == 0x30FD || c == 0x30FE) c -= 0x60; // ヽ ヾ
    }
    return s;
}

std::u32string toKatakana(std::u32string s) {
    for (char32_t& c : s)
        if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) c += 0x60;
    return s;
}

} // namespace

std::string MapStringChars(const std::string& text, int mode) {
    switch (mode) {
    case kMapFullWidth:
        return FromU32(toFullWidth(ToU32(text)));
    case kMapHalfWidth:
        return FromU32(toHalfWidth(ToU32(text)));
    case kMapHiragana:
        return FromU32(toHiragana(ToU32(text)));
    case kMapKatakana:
        return FromU32(toKatakana(ToU32(text)));
    default:
        return text;
    }
}

std::string ToZenkakuDigits(const std::string& text) {
    static const char* const kNumerals[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    std::string out;
    for (char32_t c : ToU32(text)) {
        std::string ch = FromU32(c);
        std::string half = MapStringChars(ch, kMapHalfWidth);
        if (half.size() == 1 && half[0] >= '0' && half[0] <= '9') out += kNumerals[half[0] - '0'];
        else out += ch;
    }
    return out;
}
