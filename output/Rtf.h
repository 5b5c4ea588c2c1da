#pragma once
// What the certificate and prize-list writers share: twips, the byte escape of user
// text, the head with its font table, paper, table cells and rows, and saving.
// A document is a list of lines in UTF-8 whose user text is already escaped; it is
// saved as Shift-JIS bytes with CR LF after every line.
#include <filesystem>
#include <string>
#include <vector>

class TOutputForm;

using RtfLines = std::vector<std::string>;

constexpr const char* kDefaultRtfFont = "ＭＳ Ｐゴシック";
// The break before each certificate but the first. Ending the paragraph first keeps the
// page's first line from taking the indent of the line before the break.
constexpr const char* kPageBreak = "\\pard\\page";

// mm × 567 / 10, truncated toward zero (15 → 850, -15 → -850).
int MmToTwips(int mm);
// Every Shift-JIS byte of the text as \'hh (upper-case digits), ASCII included; a
// character Shift-JIS lacks as RtfUnicodeChar.
std::string RtfEscapeText(const std::string& text);
// "\uN?" (the head's \uc1 skips the "?" a reader without Unicode shows instead), one per
// UTF-16 unit, N signed: U+20BB7 is "\u-10174?\u-8265?".
std::string RtfUnicodeChar(char32_t c);
// The fonts a word processor is taken to know (substring match); always true with
// the program setting NoUseOleFont.
bool IsKnownRtfFont(const std::string& fontName);
// True when the name has a Shift-JIS form (a font-table entry needs one).
bool HasSjisForm(const std::string& name);
// A font-table name: raw characters, with the bytes \ { } ; (also as the second byte of
// a double-byte character) written as \'hh.
std::string RtfFontTableName(const std::string& name);
// "\sl-N": a certificate line's exact pitch, its type size. The desk's fonts stand one em
// high; taller ones would run a certificate onto a second sheet. It goes before the
// line's text: after it, not every word processor reads it.
std::string RtfPitch(int points);
// One certificate paragraph: "\pard", its paragraph words, the pitch of its type size,
// the content as given, "\par".
std::string RtfParagraph(const std::string& words, int points, const std::string& content);
// The plain form: the escaped text in a group of its size.
std::string RtfLine(const std::string& words, int points, const std::string& text);
// "\clbrdrt\brdrw15\brdrs..." for the sides whose flag is 1.
std::string RtfCellBorders(int top, int left, int bottom, int right);
// One prize-list cell; text and subText already escaped; align 'l' or 'c'.
std::string RtfTableCell(const TOutputForm& form, const std::string& text, const std::string& subText,
                         char align);
// "\trowd \trgaph90" and one bordered, vertically centred column per width (mm); the
// last column reaches ListTableWidth when the widths fall short of it.
std::string RtfRowDefinition(const TOutputForm& form, const std::vector<int>& widthsMm);

// The document's first line with its four fonts.
std::string RtfHead(const std::string& f0, const std::string& f1, const std::string& f2,
                    const std::string& f3);
// Certificates: the chosen font when the word processor knows it, else the standard
// ones (the font pass applies it later). Trims fontName, empty becomes the standard
// font. "" with a message when the name has no Shift-JIS form.
std::string RtfCertificateHead(TOutputForm& form);
// The prize list's head: the standard fonts.
std::string RtfListHead();
// PaperTwips from a paper index (0 A4, 1 B4, 2 A3 when allowed, else A4) and one margin (mm).
void SetRtfPaper(TOutputForm& form, int paperIndex, bool allowA3, int marginMm);
// "\paperw.. \paperh.. \margl.. \margr.. \margt.. \margb.. \portrait" from PaperTwips.
std::string RtfPaperLine(const TOutputForm& form, bool landscape, int topMarginTwips);

// Record labels by mark: leg "区間新"/"区間ﾀｲ", race "大会新"/"大会ﾀｲ"; 0 and others "".
std::string LegRecordLabel(int mark);
std::string RaceRecordLabel(int mark);
// Class-prize name by classDisp: "クラス賞", "努力賞", "区間賞".
std::string ClassPrizeName(int classDisp);

// Writes the lines (CR LF after each) through a temporary file and a rename. False
// after its message when an office suite holds the document open (nothing written:
// the suite would keep showing, and saving over, the old text), when there is nothing
// to write, or when the write failed (the old file then stays).
bool SaveRtf(const std::filesystem::path& path, const RtfLines& lines);
