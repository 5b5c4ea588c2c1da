#pragma once
// The application font: a Japanese face when one is installed, so that kana and kanji
// come from one font and not from per-glyph fallbacks.

// Sets the application font to Noto Sans CJK JP (when present) at the default size.
// Call after the QApplication exists and before any window is built.
void UseJapaneseFont();
