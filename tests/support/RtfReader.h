#pragma once
// A small RTF reader for the tests: turns a document back into its paragraph texts as
// a word processor shows them. \'hh and raw bytes are Shift-JIS (CP932); \uN is a
// UTF-16 unit (signed) whose one fallback character is skipped; \line is "\n", \cell a
// TAB, \par and \row end a paragraph, \page and \pagebb are counted; the font table
// gives its names. Enough for the documents this program writes.
#include "platform/Files.h"
#include "platform/Text.h"

#include <cctype>
#include <string>
#include <vector>

struct RtfText {
    std::vector<std::string> Paragraphs;
    std::vector<std::string> Fonts;
    int Pages = 1;
    bool Balanced = false; // every group closed, nothing after the last
};

inline RtfText ReadRtf(const std::string& bytes) {
    RtfText out;
    std::string text, font, utf8; // text: Shift-JIS bytes not yet added to utf8
    char16_t high = 0;            // the first half of a surrogate pair
    int depth = 0, fontDepth = 0;
    auto flush = [&] {
        out.Paragraphs.push_back(utf8 + FromSjis(text));
        text.clear();
        utf8.clear();
    };
    auto unicode = [&](int n) {
        const auto unit = static_cast<char16_t>(n);
        utf8 += FromSjis(text);
        text.clear();
        if (unit >= 0xD800 && unit < 0xDC00) {
            high = unit;
            return;
        }
        utf8 += unit >= 0xDC00 && unit < 0xE000 && high
                    ? FromU32(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00))
                    : FromU32(static_cast<char32_t>(unit));
        high = 0;
    };
    auto put = [&](char c) { (fontDepth ? font : text) += c; };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = bytes[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (fontDepth && depth == fontDepth + 1 && !font.empty()) {
                out.Fonts.push_back(FromSjis(font.substr(0, font.find(';'))));
                font.clear();
            }
            if (depth == fontDepth) fontDepth = 0;
            if (--depth == 0)
                out.Balanced =
                    i + 1 == bytes.size() || bytes.find_first_not_of("\r\n", i + 1) == std::string::npos;
        } else if (c == '\\' && i + 1 < bytes.size()) {
            const unsigned char n = bytes[i + 1];
            if (n == '\'' && i + 3 < bytes.size()) {
                put(static_cast<char>(std::stoi(bytes.substr(i + 2, 2), nullptr, 16)));
                i += 3;
            } else if (std::isalpha(n)) {
                size_t j = i + 1;
                while (j < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[j])))
                    ++j;
                const std::string word = bytes.substr(i + 1, j - i - 1);
                const size_t number = j;
                while (j < bytes.size() &&
                       (std::isdigit(static_cast<unsigned char>(bytes[j])) || bytes[j] == '-'))
                    ++j;
                const std::string param = bytes.substr(number, j - number);
                if (j < bytes.size() && bytes[j] == ' ') ++j;
                i = j - 1;
                if (word == "u" && !param.empty()) {
                    unicode(std::stoi(param));
                    ++i; // the fallback character (\uc1)
                } else if (word == "fonttbl")
                    fontDepth = depth;
                else if (word == "par" || word == "row")
                    flush();
                else if (word == "line")
                    put('\n');
                else if (word == "cell")
                    put('\t');
                else if (word == "page" || word == "pagebb")
                    ++out.Pages;
            } else {
                put(static_cast<char>(n));
                ++i;
            }
        } else if (c != '\r' && c != '\n') {
            put(static_cast<char>(c));
            // A raw double-byte character: its second byte is text whatever it is.
            if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < bytes.size())
                put(bytes[++i]);
        }
    }
    if (!text.empty()) flush();
    return out;
}

inline RtfText ReadRtfFile(const fs::path& p) {
    std::string bytes;
    ReadFileBytes(p, bytes);
    return ReadRtf(bytes);
}
