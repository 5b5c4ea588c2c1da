#pragma once
// Dates as the system shows them: short date "yyyy/MM/dd", era names, ISO in tables.
#include <stdexcept>
#include <string>

struct Date {
    int Year = 0, Month = 0, Day = 0;
    bool operator==(const Date&) const = default;
    bool IsNull() const { return Year == 0; }
};

struct TimeOfDay {
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

// The platform's conversion error for text that is not a date.
struct ConvertError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Date Today();
TimeOfDay Now();
bool IsValidDate(int y, int m, int d);
// "yyyy/MM/dd"
std::string DateToStr(const Date& d);
// Parses "yyyy/M/d" (also "-" or "." as separators); throws ConvertError.
Date StrToDate(const std::string& text);
bool TryStrToDate(const std::string& text, Date& out);
std::string DateToIso(const Date& d); // "yyyy-mm-dd", "" for a null date
Date IsoToDate(const std::string& iso); // null date when not valid
// Era name and year of the era, the format "ggge": "平成21".
std::string EraText(const Date& d);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(const Date& d);
Date IncMonth(const Date& d, int months);
int DaysInMonth(int year, int month);
// Short day names "日".."土", index 1 = Sunday.
std::string ShortDayName(int dayOfWeek);
// "hh:mm:ss" -> TimeOfDay; throws ConvertError.
TimeOfDay StrToTime(const std::string& text);
