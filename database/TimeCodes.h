#pragma once
// Time codes (digits as typed: H..H MM SS [cc]) and time values (seconds, or
// hundredths when the race counts hundredths), and the texts printed from them.
// Every function takes the hundredths setting explicitly; the main window passes
// its check box at the call.
#include <string>

int TimeDigitsToSeconds(int code, bool hundredths);
int SecondsToDigits(int value, bool hundredths);
std::string SecondsToClockText(int value, bool hundredths);
std::string SecondsToMarkText(int value, bool hundredths);
std::string TimeToDisplayText(const std::string& cellText, bool hundredths);
std::string SecondsToKanjiText(int value, bool hundredths);
std::string SecondsToKanjiTextPadded(int value, bool hundredths);
// Mode 0 and 3 "2009年1月4日", 1 "1月4日", 2 era "平成21年1月4日", others "".
// Throws ConvertError when the text is not a date.
std::string DateTextToKanji(const std::string& dateText, int mode);
