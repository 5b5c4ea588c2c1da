#pragma once
// The application's Japanese face: one font for kana and kanji instead of per-glyph
// fallbacks, and Qt's own dialogs (file dialogs, standard buttons) in Japanese.

// Sets the application font to Noto Sans CJK JP (when present) at the default size.
// Call after the QApplication exists and before any window is built.
void UseJapaneseFont();
// Installs Qt's Japanese translations (qtbase_ja); false when they are not installed.
bool UseJapaneseTranslations();
