#pragma once
// The scoreboard (電光) text file: its sections, the file and its numbered copies.
#include <string>

// Each section returns true; the first two start the text afresh, the others add a
// ":" line and their section.
bool AppendDenkoFinalResult(std::string& text, int lastLeg);
bool AppendDenkoTimeGaps(std::string& text, int leg);
bool AppendDenkoLegResult(std::string& text, int leg);
bool AppendDenkoPrizeWinners(std::string& text, int lastLeg);
// Checks the scoreboard settings; false after the message of the first one missing.
bool DenkoSettingsReady();
// Writes the text to the scoreboard file and says so; LastDenkoFile names the file
// only after a complete write.
bool WriteDenkoFile(const std::string& text);
// Copies the file to "<path without extension>_<leg>.txt".
bool CopyDenkoFileNumbered(const std::string& path, int leg);
// The starting teams in alias order; true when written.
bool WriteDenkoStartList();
