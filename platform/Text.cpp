#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <locale.h>
#include <string_view>
#include <system_error>
#include <unordered_map>

namespace {

// One converter per direction, opened on first use and reset before every use.
// The program is one-threaded; thread_local keeps it correct should that change.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        return cd_;
    }

  private:
    iconv_t cd_;
};

Converter& toSjis() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}
Converter& fromSjis() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

// Length of the well-formed UTF-8 sequence at s[i], or 0 when the bytes there are not one.
size_t utf8SeqLen(const std::string& s, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (c == 0xED)
            hi = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F; // not above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (size_t k = 2; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

// Runs the converter over the whole input. On a byte sequence it cannot convert it
// appends `subst` and skips `skip(pos)` bytes of the input (at least one), then goes on.
template <typename Skip, typename Subst>
std::string convertWith(Converter& conv, const std::string& in, Subst substAt, Skip skip) {
    std::string out;
    if (in.empty()) return out;
    if (!conv.ok()) return out; // no CP932 module: nothing sensible to return
    iconv_t cd = conv.get();
    out.resize(in.size() * 2 + 16);
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    size_t used = 0;
    while (inLeft > 0) {
        char* outp = out.data() + used;
        size_t outLeft = out.size() - used;
        size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        used = static_cast<size_t>(outp - out.data());
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        // EILSEQ (invalid or not convertible) or EINVAL (incomplete at the end): substitute.
        const size_t pos = in.size() - inLeft;
        const std::string subst = substAt(pos);
        size_t n = (errno == EINVAL) ? inLeft : skip(pos);
        if (n == 0) n = 1;
        if (n > inLeft) n = inLeft;
        inp += n;
        inLeft -= n;
        if (out.size() - used < subst.size()) out.resize(out.size() * 2 + subst.size() + 16);
        std::memcpy(out.data() + used, subst.data(), subst.size());
        used += subst.size();
        conv.get(); // reset the shift state after the error
    }
    out.resize(used);
    return out;
}

template <typename Skip>
std::string convert(Converter& conv, const std::string& in, const std::string& subst, Skip skip) {
    return convertWith(conv, in, [&](size_t) { return subst; }, skip);
}

// Shift-JIS byte count of one well-formed UTF-8 character.
int sjisCharLength(const std::string& utf8, size_t i, size_t n) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) return 1;
    if (n == 3 && c == 0xEF) {
        // U+FF61..U+FF9F (half-width katakana and marks): EF BD A1..EF BD BF, EF BE 80..EF BE 9F
        const unsigned char c1 = static_cast<unsigned char>(utf8[i + 1]);
        const unsigned char c2 = static_cast<unsigned char>(utf8[i + 2]);
        if ((c1 == 0xBD && c2 >= 0xA1) || (c1 == 0xBE && c2 <= 0x9F)) return 1;
    }
    // Outputs measure names per team and leg: each character is converted once a run.
    static std::unordered_map<uint32_t, int> known;
    uint32_t key = 0;
    for (size_t k = 0; k < n; ++k)
        key = key << 8 | static_cast<unsigned char>(utf8[i + k]);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    const int len = static_cast<int>(ToSjis(utf8.substr(i, n)).size());
    known.emplace(key, len);
    return len;
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Makes the "C" locale current for this thread while it lives.
class CLocaleScope {
  public:
    CLocaleScope() : old_(cLocale() ? uselocale(cLocale()) : static_cast<locale_t>(nullptr)) {}
    ~CLocaleScope() {
        if (old_) uselocale(old_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t old_;
};

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return std::string_view(s).substr(b, e - b);
}

} // namespace

std::string ToSjis(const std::string& utf8) {
    return convert(toSjis(), utf8, "?", [&](size_t pos) { return utf8SeqLen(utf8, pos); });
}

std::string ToSjisCharRefs(const std::string& utf8) {
    auto seqLen = [&](size_t pos) { return utf8SeqLen(utf8, pos); };
    auto charRef = [&](size_t pos) -> std::string {
        const size_t n = utf8SeqLen(utf8, pos);
        if (n == 0) return "?";
        const std::u32string c = ToU32(utf8.substr(pos, n));
        return c.empty() ? std::string("?") : Format("&#x%X;", static_cast<unsigned>(c[0]));
    };
    return convertWith(toSjis(), utf8, charRef, seqLen);
}

bool SjisHas(char32_t c) {
    if (c < 0x80) return true;
    // Certificates and files test their names character by character: each is converted once a run.
    static std::unordered_map<char32_t, bool> known;
    auto it = known.find(c);
    if (it != known.end()) return it->second;
    const bool has = ToSjis(FromU32(c)) != "?";
    known.emplace(c, has);
    return has;
}

// Every character CP932 lacks (and every invalid byte) becomes exactly one '?'.
std::string ToSjis(const std::string& utf8, bool& whole) {
    std::string sjis = ToSjis(utf8);
    whole = std::count(sjis.begin(), sjis.end(), '?') == std::count(utf8.begin(), utf8.end(), '?');
    return sjis;
}

std::vector<std::string> SjisLackingTexts(const std::string& utf8) {
    std::vector<std::string> found;
    bool whole = true;
    ToSjis(utf8, whole);
    if (whole) return found;
    std::u32string run;
    bool lacking = false;
    auto endRun = [&] {
        const std::string text = FromU32(run);
        if (lacking && std::find(found.begin(), found.end(), text) == found.end()) found.push_back(text);
        run.clear();
        lacking = false;
    };
    for (char32_t c : ToU32(utf8)) {
        if (c == U' ' || c == U',' || c == U'\t' || c == U'"' || c == U'\r' || c == U'\n') {
            endRun();
            continue;
        }
        run += c;
        lacking = lacking || !SjisHas(c);
    }
    endRun();
    return found;
}

std::string FromSjis(const std::string& sjis) {
    return convert(fromSjis(), sjis, "\xEF\xBF\xBD", [](size_t) { return size_t{1}; });
}

bool IsValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8SeqLen(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

DecodedText DecodeText(const std::string& bytes) {
    static const std::string bom = "\xEF\xBB\xBF";
    if (StartsWith(bytes, bom)) {
        std::string text = bytes.substr(bom.size());
        if (!IsValidUtf8(text)) text = FromU32(ToU32(text));
        return {std::move(text), TextEncoding::Utf8Bom};
    }
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
    if (multiByte && IsValidUtf8(bytes)) return {bytes, TextEncoding::Utf8};
    return {FromSjis(bytes), TextEncoding::ShiftJis};
}

std::string EncodeText(const std::string& utf8, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return utf8;
    case TextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + utf8;
    default:
        return ToSjis(utf8);
    }
}

// Character by character; text that is not UTF-8 is counted as the converter writes it.
int SjisLength(const std::string& utf8) {
    int total = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8SeqLen(utf8, i);
        if (n == 0) return static_cast<int>(ToSjis(utf8).size());
        total += sjisCharLength(utf8, i, n);
        i += n;
    }
    return total;
}

namespace {

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

int DisplayWidth(const std::string& utf8) {
    int total = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8SeqLen(utf8, i);
        if (n == 0) return total + static_cast<int>(ToSjis(utf8.substr(i)).size());
        const int len = sjisCharLength(utf8, i, n);
        // A lacking character became one "?"; half-width katakana are one byte too, and narrow.
        if (len == 1 && n > 1) {
            const std::u32string c = ToU32(utf8.substr(i, n));
            total += !c.empty() && isWide(c[0]) ? 2 : 1;
        } else {
            total += len;
        }
        i += n;
    }
    return total;
}

std::string CutSjis(const std::string& utf8, int maxBytes) {
    if (maxBytes <= 0) return {};
    // No character takes more bytes in Shift-JIS than in UTF-8 (an invalid byte becomes one
    // '?'): a text that fits in UTF-8 fits whole.
    if (utf8.size() <= static_cast<size_t>(maxBytes)) return utf8;
    int total = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        size_t n = utf8SeqLen(utf8, i);
        int len;
        if (n == 0) {
            n = 1; // an invalid byte counts as the one '?' it becomes
            len = 1;
        } else {
            len = sjisCharLength(utf8, i, n);
        }
        if (total + len > maxBytes) break;
        total += len;
        i += n;
    }
    return utf8.substr(0, i);
}

bool TryStrToInt(const std::string& s, int& out) {
    const std::string_view t = trimmed(s); // no copy: cells of whole grids are read through here
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        neg = t[i] == '-';
        ++i;
    }
    if (i >= t.size()) return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;
    }
    if (neg) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

int StrToIntDef(const std::string& s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

bool TryStrToFloat(const std::string& s, double& out) {
    const std::string t = Trim(s);
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        neg = t[i] == '-';
        ++i;
    }
    // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
    if (i >= t.size() || !((t[i] >= '0' && t[i] <= '9') || t[i] == '.')) return false;
    double v = 0;
    const char* first = t.data() + i;
    const char* last = t.data() + t.size();
    auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec != std::errc() || ptr != last) return false;
    if (!std::isfinite(v)) return false;
    out = neg ? -v : v;
    return true;
}

double StrToFloatDef(const std::string& s, double def) {
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

std::string Trim(const std::string& s) {
    return std::string(trimmed(s));
}

std::string TrimRight(const std::string& s) {
    size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::string IntToStr(long long v) {
    return std::to_string(v);
}

std::string VFormat(const char* fmt, va_list ap) {
    CLocaleScope cLoc;
    char buf[512];
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap2);
    va_end(ap2);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    va_copy(ap2, ap);
    std::vsnprintf(out.data(), out.size(), fmt, ap2);
    va_end(ap2);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = VFormat(fmt, ap);
    va_end(ap);
    return s;
}

std::string FloatToStrG(double v) {
    // std::to_chars with a precision is printf's "%.6g" in the "C" locale, i.e. "%g".
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    if (ec != std::errc()) return Format("%g", v);
    return std::string(buf, ptr);
}

std::string FormatThousands(long long v) {
    const bool neg = v < 0;
    unsigned long long u =
        neg ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    const std::string digits = std::to_string(u);
    std::string out;
    if (neg) out += '-';
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::u32string ToU32(const std::string& utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t n = utf8SeqLen(utf8, i);
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (n == 0) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t cp;
        if (n == 1)
            cp = c;
        else if (n == 2)
            cp = c & 0x1F;
        else if (n == 3)
            cp = c & 0x0F;
        else
            cp = c & 0x07;
        for (size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += cp;
        i += n;
    }
    return out;
}

std::string FromU32(char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string FromU32(const std::u32string& s) {
    std::string out;
    out.reserve(s.size() * 3);
    for (char32_t c : s)
        out += FromU32(c);
    return out;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t p = s.find(sep, start);
        if (p == std::string::npos) {
            out.push_back(s.substr(start));
            return out;
        }
        out.push_back(s.substr(start, p - start));
        start = p + 1;
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    size_t p = 0;
    while ((p = s.find(from, p)) != std::string::npos) {
        s.replace(p, from.size(), to);
        p += to.size();
    }
    return s;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}
