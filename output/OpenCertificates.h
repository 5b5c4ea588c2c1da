#pragma once
// After a certificate document is written: the font pass on its font table, then the
// document opened with its associated program while the desk waits (printer switched
// to the prize printer meanwhile). Also the texts every certificate writer shares.
#include "output/Rtf.h"

#include <filesystem>
#include <optional>
#include <string>

class TOutputForm;

// Sets every font-table entry of the saved document to fontName (other bytes kept);
// true at once when the head could name the font itself. False after its message.
bool FixRtfFontWithWord(TOutputForm& form, const std::filesystem::path& path, const std::string& fontName);
// Opens the document and returns when its viewer has ended (at once with PRTCHG_NO).
void OpenDocumentAndWait(TOutputForm& form, const std::filesystem::path& path);
// Saves the lines, applies the font and opens the document, or says what failed.
void FinishCertificates(TOutputForm& form, const std::filesystem::path& path, const RtfLines& lines);

// The race date of the race information page in the certificates' form (era or
// western year by DDispOpt); "" when the cell is empty, nullopt after a message
// when it is not a date.
std::optional<std::string> CertificateDateText(const TOutputForm& form);
