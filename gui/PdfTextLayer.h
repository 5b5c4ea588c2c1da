#pragma once
// The text layer of the PDF files Qt writes. Qt's PDF writer names each glyph in a
// font's ToUnicode map by the lowest code point the font maps to it; Noto CJK maps a
// Kangxi radical and its ideograph (⼤ and 大) to one glyph, so a search for 大 would
// find nothing and a copy would give ⼤. The maps are rewritten to name such glyphs by
// their NFKC forms (radicals and compatibility ideographs), which is what was drawn.
#include <QByteArray>

#include <string>

// The NFKC form of a radical or compatibility ideograph as UTF-16 units; any other
// character as it is.
std::u16string DrawnCharacter(const std::u16string& named);

// Every destination of a ToUnicode CMap passed through DrawnCharacter; a range whose
// destinations change is written out as a list. True when something changed.
bool RenameCMapDestinations(std::string& cmap);

// The PDF with its fonts' ToUnicode maps rewritten; the PDF as it came when it cannot
// be read or nothing in it needs renaming.
QByteArray NameDrawnCharacters(const QByteArray& pdf);
