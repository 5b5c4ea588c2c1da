#pragma once
// What the four visual components share without Qt: colours, the local clock they
// read (injected, so that tests and the demo run at a fixed time) and grid options.
#include <chrono>
#include <functional>

namespace components {

// A colour as 0xRRGGBB, the form CellStyle carries.
constexpr int Rgb(int red, int green, int blue) {
    return red << 16 | green << 8 | blue;
}

inline constexpr int kAqua = Rgb(0, 255, 255);
inline constexpr int kRed = Rgb(255, 0, 0);
inline constexpr int kBlue = Rgb(0, 0, 255);
inline constexpr int kNavy = Rgb(0, 0, 128);
inline constexpr int kSilver = Rgb(192, 192, 192);

struct LocalDateTime {
    std::chrono::year_month_day Date{};
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

using ClockFn = std::function<LocalDateTime()>;

// The wall clock of this machine in local time.
LocalDateTime SystemNow();

// The grid behaviours a designer may switch on a component grid.
struct GridOptions {
    bool Lines = true;              // lines between the cells
    bool RangeSelect = false;       // more than one cell can be selected
    bool DrawFocusSelected = false; // the focused cell is drawn highlighted, not only framed
    bool RowSelect = false;         // the whole current row is selected
    bool Editing = false;           // cells can be typed into
    bool operator==(const GridOptions&) const = default;
};

} // namespace components
