#include "database/TimeCodes.h"

#include "platform/Dates.h"
#include "platform/Text.h"

namespace {

struct TimeParts {
    int H, M, S, cc;
};

TimeParts splitValue(int value, bool hundredths) {
    int cc = 0;
    if (hundredths) {
        cc = value % 100;
        value /= 100;
    }
    return {value / 3600, (value % 3600) / 60, value % 60, cc};
}

} // namespace

int TimeDigitsToSeconds(int code, bool hundredths) {
    int cc = 0;
    if (hundredths) {
        cc = code % 100;
        code /= 100;
    }
    int h = code / 10000;
    int m = (code % 10000) / 100;
    int s = code % 100;
    while (s >= 60) { // typed seconds of 60-99 carry one minute; minutes never fold into hours
        s -= 60;
        ++m;
    }
    int total = h * 3600 + m * 60 + s;
    if (!hundredths) return total;
    return StrToIntDef(Format("%d%02d", total, cc), 0);
}

int SecondsToDigits(int value, bool hundredths) {
    if (value < 0) return value;
    TimeParts t = splitValue(value, hundredths);
    std::string s = hundredths ? Format("%02d%02d%02d%02d", t.H, t.M, t.S, t.cc) : Format("%02d%02d%02d", t.H, t.M, t.S);
    return StrToIntDef(s, 0);
}

std::string SecondsToClockText(int value, bool hundredths) {
    TimeParts t = splitValue(value, hundredths);
    return hundredths ? Format("%2d:%02d:%02d.%02d", t.H, t.M, t.S, t.cc) : Format("%2d:%02d:%02d", t.H, t.M, t.S);
}

std::string SecondsToMarkText(int value, bool hundredths) {
    TimeParts t = splitValue(value, hundredths);
    std::string out;
    if (t.H >= 1)
        out = Format("%2dﾟ%02d'%02d\"", t.H, t.M, t.S);
    else if (t.M >= 1)
        out = Format("%2d'%02d\"", t.M, t.S);
    else
        out = Format("%2d\"", t.S);
    if (hundredths) out += Format("%02d", t.cc);
    return out;
}

std::string TimeToDisplayText(const std::string& cellText, bool hundredths) {
    if (cellText.empty()) return {};
    int n = StrToIntDef(cellText, 0);
    if (n == 0) return {};
    if (n < 0) return "ﾏｲﾅｽ";
    return SecondsToMarkText(TimeDigitsToSeconds(n, hundredths), hundredths);
}

namespace {

// Japanese units; padded seconds are two digits.
std::string kanjiText(int value, bool hundredths, bool padded) {
    TimeParts t = splitValue(value, hundredths);
    std::string out;
    if (t.H >= 1)
        out = Format(padded ? "%d時間%d分%02d" : "%d時間%d分%d", t.H, t.M, t.S);
    else if (t.M >= 1)
        out = Format(padded ? "%d分%02d" : "%d分%d", t.M, t.S);
    else
        out = Format(padded ? "%02d" : "%d", t.S);
    out += "秒";
    if (hundredths) out += Format("%02d", t.cc);
    return out;
}

} // namespace

std::string SecondsToKanjiText(int value, bool hundredths) { return kanjiText(value, hundredths, false); }

std::string SecondsToKanjiTextPadded(int value, bool hundredths) { return kanjiText(value, hundredths, true); }

std::string DateTextToKanji(const std::string& dateText, int mode) {
    if (mode < 0 || mode > 3) return {};
    Date d = StrToDate(dateText);
    switch (mode) {
    case 1:
        return Format("%d月%d日", d.Month, d.Day);
    case 2:
        return Format("%s年%d月%d日", EraText(d).c_str(), d.Month, d.Day);
    default:
        return Format("%d年%d月%d日", d.Year, d.Month, d.Day);
    }
}
