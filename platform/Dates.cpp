#include "platform/Dates.h"

#include "platform/Text.h"

#include <ctime>
#include <tuple>
#include <vector>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

int toInt(const std::string& digits) {
    int v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

std::tm localNow(long* nsec = nullptr) {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    localtime_r(&ts.tv_sec, &tm);
    if (nsec) *nsec = ts.tv_nsec;
    return tm;
}

// Splits "a<sep>b<sep>c" where sep is one of seps and the same throughout.
std::vector<std::string> splitParts(const std::string& t, const std::string& seps) {
    const size_t p = t.find_first_of(seps);
    if (p == std::string::npos) return {t};
    return Split(t, t[p]);
}

struct Era {
    int y, m, d;
    const char* name;
};
// Newest first.
const Era kEras[] = {
    {2019, 5, 1, "令和"},  {1989, 1, 8, "平成"}, {1926, 12, 25, "昭和"},
    {1912, 7, 30, "大正"}, {1868, 1, 1, "明治"},
};

} // namespace

Date Today() {
    const std::tm tm = localNow();
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

TimeOfDay Now() {
    long nsec = 0;
    const std::tm tm = localNow(&nsec);
    return {tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(nsec / 1000000)};
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return days[month - 1];
}

bool IsValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

std::string DateToStr(const Date& d) {
    if (d.IsNull()) return {};
    return Format("%04d/%02d/%02d", d.Year, d.Month, d.Day);
}

bool TryStrToDate(const std::string& text, Date& out) {
    const std::string t = Trim(text);
    const std::vector<std::string> parts = splitParts(t, "/-.");
    if (parts.size() != 3) return false;
    const std::string &ys = parts[0], &ms = parts[1], &ds = parts[2];
    if (!allDigits(ys) || !allDigits(ms) || !allDigits(ds)) return false;
    if (ys.size() > 4 || ms.size() > 2 || ds.size() > 2) return false;
    int y = toInt(ys);
    if (ys.size() <= 2) {
        // A two-digit year, as the platform reads it: within 50 years before the current year or later.
        const int pivot = Today().Year - 50;
        y += pivot / 100 * 100;
        if (y < pivot) y += 100;
    }
    const int m = toInt(ms), d = toInt(ds);
    if (!IsValidDate(y, m, d)) return false;
    out = {y, m, d};
    return true;
}

Date StrToDate(const std::string& text) {
    Date d;
    if (!TryStrToDate(text, d)) throw ConvertError("'" + text + "' は正しい日付ではありません");
    return d;
}

std::string DateToIso(const Date& d) {
    if (d.IsNull()) return {};
    return Format("%04d-%02d-%02d", d.Year, d.Month, d.Day);
}

Date IsoToDate(const std::string& iso) {
    // "yyyy-mm-dd", optionally followed by a time ("yyyy-mm-dd hh:mm:ss" or "...T...").
    std::string t = Trim(iso);
    if (t.size() > 10 && (t[10] == ' ' || t[10] == 'T')) t.resize(10);
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return {};
    const std::string ys = t.substr(0, 4), ms = t.substr(5, 2), ds = t.substr(8, 2);
    if (!allDigits(ys) || !allDigits(ms) || !allDigits(ds)) return {};
    const int y = toInt(ys), m = toInt(ms), d = toInt(ds);
    if (!IsValidDate(y, m, d)) return {};
    return {y, m, d};
}

std::string EraText(const Date& d) {
    if (d.IsNull()) return {};
    for (const Era& e : kEras) {
        if (std::tie(d.Year, d.Month, d.Day) >= std::tie(e.y, e.m, e.d))
            return std::string(e.name) + std::to_string(d.Year - e.y + 1);
    }
    return std::to_string(d.Year);
}

int DayOfWeek(const Date& d) {
    const long long days = daysFromCivil(d.Year, d.Month, d.Day);
    // 1970-01-01 was a Thursday (4 when Sunday is 0).
    const long long w = ((days + 4) % 7 + 7) % 7;
    return static_cast<int>(w) + 1;
}

Date IncMonth(const Date& d, int months) {
    if (d.IsNull()) return d;
    long long idx = static_cast<long long>(d.Year) * 12 + (d.Month - 1) + months;
    long long y = idx / 12, m = idx % 12;
    if (m < 0) {
        m += 12;
        --y;
    }
    Date r{static_cast<int>(y), static_cast<int>(m) + 1, d.Day};
    const int last = DaysInMonth(r.Year, r.Month);
    if (r.Day > last) r.Day = last;
    return r;
}

std::string ShortDayName(int dayOfWeek) {
    static const char* const names[] = {"日", "月", "火", "水", "木", "金", "土"};
    if (dayOfWeek < 1 || dayOfWeek > 7) return {};
    return names[dayOfWeek - 1];
}

TimeOfDay StrToTime(const std::string& text) {
    const std::string t = Trim(text);
    const std::vector<std::string> parts = Split(t, ':');
    bool ok = parts.size() == 2 || parts.size() == 3;
    for (size_t i = 0; ok && i < parts.size(); ++i)
        ok = allDigits(parts[i]) && parts[i].size() <= 2;
    TimeOfDay r;
    if (ok) {
        r.Hour = toInt(parts[0]);
        r.Min = toInt(parts[1]);
        r.Sec = parts.size() == 3 ? toInt(parts[2]) : 0;
        ok = r.Hour <= 23 && r.Min <= 59 && r.Sec <= 59;
    }
    if (!ok) throw ConvertError("'" + text + "' は正しい時刻ではありません");
    return r;
}
