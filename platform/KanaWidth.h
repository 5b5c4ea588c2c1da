#pragma once
// Character mapping between full-width and half-width forms and between hiragana
// and katakana, on UTF-8 text. Our own tables: ASCII, the blank and the katakana
// (voiced and semi-voiced marks composed into one full-width letter and split
// into two half-width ones); every other character passes unchanged.
#include <string>

enum KanaMapMode { kMapFullWidth = 0, kMapHalfWidth = 1, kMapHiragana = 2, kMapKatakana = 3 };

// Mode 0 full-width, 1 half-width, 2 hiragana, 3 katakana; another mode returns the text.
std::string MapStringChars(const std::string& text, int mode);

// Digits (half- or full-width) become the kanji numerals 〇 一 二 ... 九.
std::string ToZenkakuDigits(const std::string& text);
