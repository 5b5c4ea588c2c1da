#include "database/Comparators.h"

#include "platform/Services.h"

#include <algorithm>

namespace {

int32_t keyOf(int32_t v) { return v == 0 ? EmptyTimeKey : v; }

// Three-way result without subtracting, so no key pair can overflow.
int threeWay(int32_t a, int32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

int32_t modeKey(const TeamWorkRec& r, int mode) {
    switch (mode) {
    case 1:
        return r.ClassPlace;
    case 2:
        return r.GapPlace;
    case 3:
        return r.AliasNo;
    default:
        return r.TotalPlace;
    }
}

} // namespace

int CompareInputCells(const PassingRec& a, const PassingRec& b) {
    if (int c = threeWay(keyOf(a.time), keyOf(b.time))) return c;
    if (int c = threeWay(keyOf(a.leg), keyOf(b.leg))) return c;
    if (int c = threeWay(keyOf(a.order), keyOf(b.order))) return c;
    return threeWay(keyOf(a.number), keyOf(b.number));
}

void SortPassingRecs(std::vector<PassingRec>& recs) {
    std::stable_sort(recs.begin(), recs.end(),
                     [](const PassingRec& a, const PassingRec& b) { return CompareInputCells(a, b) < 0; });
}

int TeamCompareByMode(const TeamWorkRec& a, const TeamWorkRec& b, int mode) {
    if (int c = threeWay(modeKey(a, mode), modeKey(b, mode))) return c;
    return threeWay(a.TeamNo, b.TeamNo);
}

void SortTeamWorkRecs(std::vector<TeamWorkRec>& recs, int mode) {
    std::stable_sort(recs.begin(), recs.end(), [mode](const TeamWorkRec& a, const TeamWorkRec& b) {
        return TeamCompareByMode(a, b, mode) < 0;
    });
}

std::string CurrentPrinterName() { return PrinterSvc().Default(); }

int PrinterIndexOf(const std::string& name) {
    const std::vector<std::string> list = PrinterSvc().List();
    auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

bool SetDefaultPrinter(const std::string& name) {
    if (PrinterIndexOf(name) == -1) return false;
    if (name == CurrentPrinterName()) return false;
    return PrinterSvc().SetDefault(name);
}
