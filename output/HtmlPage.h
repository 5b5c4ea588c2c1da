#pragma once
// What every web page writer shares: escaping of user text, the Shift-JIS page write,
// the META line, the date line, distances and the DataHTML folder listing.
#include "database/ResultTable.h"
#include "platform/Files.h"

#include <optional>
#include <string>
#include <vector>

// Names, readings, race name, organiser lines: & < > " escaped.
std::string HtmlText(const std::string& s);
// Result-grid cells and titles composed from them: & < > escaped, so the time marks
// ' and " stay as they are.
std::string HtmlCell(const std::string& s);

// The page as Shift-JIS with CR LF (characters Shift-JIS lacks as "&#x…;"), through a
// temporary file and a rename; no disk sync, every output rebuilds the pages.
// False when the file could not be written (the page that was there stays).
bool WriteHtmlPage(const fs::path& path, const std::string& utf8);

// The shift_jis META line of the result pages, with its line end.
extern const char* const kHtmlMeta;

// "とき:%d年%d月%d日<BR>" of the race date; ConvertError when the date cell is no date.
std::string HtmlDateLine();
// A leg's distance ("距離" column of the leg grid) in km.
double LegDistanceKm(int leg);
// Distance as the pages print it: whole metres with fmtM in hundredths mode, else km with fmtKm.
std::string DistanceText(double km, const char* fmtKm, const char* fmtM);
// The trimmed mark text of a time value ("" for 0).
std::string MarkText(int seconds);
// The mark text as it is formed, its leading hours or minutes padded to two places
// (" 9'30\""), where the pages print it untrimmed.
std::string PaddedMarkText(int seconds);
// "Ttime_3" ...
std::string LegFieldText(const char* name, int leg);

// DataHTML alone (not its csv folder); CreateFolderError on failure.
void MakeDataHtmlFolder();
// The names in a folder; nullopt when it cannot be listed.
std::optional<std::vector<std::string>> ListFolderNames(const fs::path& dir);

// The work-table fields a team page reads.
inline constexpr std::initializer_list<LegField> kTeamPageFields = {LegField::Ttime, LegField::Ktime,
                                                                    LegField::Tplace, LegField::Kplace};
// The team page "r%d.html" from the loaded work table; false when the team has no
// usable total or the page could not be written.
bool WriteTeamPage(const ResultImage& img, int team);
