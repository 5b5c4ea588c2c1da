#pragma once
// Text helpers: UTF-8 inside the program, Shift-JIS (CP932) at files and blobs.
// Byte lengths and cuts are measured in Shift-JIS bytes (half-width katakana 1, kanji 2).
#include <cstdarg>
#include <string>
#include <vector>

// UTF-8 -> CP932 bytes; a character CP932 lacks becomes '?'.
std::string ToSjis(const std::string& utf8);
// The same for HTML: a character CP932 lacks becomes a numeric character reference ("&#x20BB7;").
std::string ToSjisCharRefs(const std::string& utf8);
// True when CP932 has the character ('?' included).
bool SjisHas(char32_t c);
// ToSjis that also tells whether every character had a CP932 form (an invalid byte has none).
std::string ToSjis(const std::string& utf8, bool& whole);
// The texts that ToSjis cannot write whole, each once in order of appearance: the runs
// between blanks, commas, tabs, quotes and line ends that hold a character CP932 lacks.
std::vector<std::string> SjisLackingTexts(const std::string& utf8);
// CP932 bytes -> UTF-8; an invalid byte becomes U+FFFD.
std::string FromSjis(const std::string& sjis);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& s);

// How a text file we read is stored, so that it can be written back the same way.
enum class TextEncoding { ShiftJis, Utf8, Utf8Bom };
struct DecodedText {
    std::string Text; // UTF-8, without the byte-order mark
    TextEncoding Encoding = TextEncoding::ShiftJis;
};
// The bytes of a text file we read (settings, CSV entry, timing and clock files): UTF-8
// when they start with a byte-order mark or are valid UTF-8 holding multi-byte sequences,
// else Shift-JIS (plain ASCII included). Bytes no encoding can read become U+FFFD.
DecodedText DecodeText(const std::string& bytes);
// The text in the encoding, with the byte-order mark for Utf8Bom.
std::string EncodeText(const std::string& utf8, TextEncoding encoding);
// Length of the text in Shift-JIS bytes.
int SjisLength(const std::string& utf8);
// Columns the text takes in a fixed-pitch font: its Shift-JIS length, a character
// Shift-JIS lacks counted as the East Asian width gives it (𠮷 two, not the one "?").
int DisplayWidth(const std::string& utf8);
// Longest prefix of whole characters whose Shift-JIS length is at most maxBytes.
std::string CutSjis(const std::string& utf8, int maxBytes);

// Integers from texts: trimmed, optional sign, digits within 32-bit range; else def.
int StrToIntDef(const std::string& s, int def);
bool TryStrToInt(const std::string& s, int& out);
// Floating numbers, locale-free ('.' decimal point); else def.
double StrToFloatDef(const std::string& s, double def);
bool TryStrToFloat(const std::string& s, double& out);

std::string Trim(const std::string& s);
std::string TrimRight(const std::string& s);
std::string IntToStr(long long v);
// printf-style formatting; numbers never depend on the locale.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string VFormat(const char* fmt, va_list ap);
// "%g" of a double, always with '.'.
std::string FloatToStrG(double v);
// Number with thousands separators ("1,234,567").
std::string FormatThousands(long long v);

// UTF-8 <-> UTF-32 for character-wise work.
std::u32string ToU32(const std::string& utf8);
std::string FromU32(const std::u32string& s);
std::string FromU32(char32_t c);

std::vector<std::string> Split(const std::string& s, char sep);
// The lines of a text read from a file: CR, LF and CR LF each end a line; a last line
// without its end counts, nothing after the final line end does.
std::vector<std::string> SplitLines(const std::string& text);
bool StartsWith(const std::string& s, const std::string& prefix);
bool EndsWith(const std::string& s, const std::string& suffix);
std::string ReplaceAll(std::string s, const std::string& from, const std::string& to);
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);
