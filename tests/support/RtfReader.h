#pragma once
// A small RTF reader for the tests: turns a document back into its paragraph texts as
// a word processor shows them. \'hh and raw bytes are Shift-JIS (CP932); \line is
// "\n", \cell a TAB, \par and \row end a paragraph, \page is counted; the font table
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
    std::string text, font;
    int depth = 0, fontDepth = 0;
    auto flush = [&] {
        out.Paragraphs.push_back(FromSjis(text));
        text.clear();
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
                while (j < bytes.size() &&
                       (std::isdigit(static_cast<unsigned char>(bytes[j])) || bytes[j] == '-'))
                    ++j;
                if (j < bytes.size() && bytes[j] == ' ') ++j;
                i = j - 1;
                if (word == "fonttbl")
                    fontDepth = depth;
                else if (word == "par" || word == "row")
                    flush();
                else if (word == "line")
                    put('\n');
                else if (word == "cell")
                    put('\t');
                else if (word == "page")
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
