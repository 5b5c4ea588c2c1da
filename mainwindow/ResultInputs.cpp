// What the results are computed from: every change of it counts, so that a result view
// computed before the change is known to be stale. Loads and relayouts of the input,
// split, team and race grids count (an edition opened, the counts changed). The runner
// grid counts only what is typed into it, as it reloads whenever another team is shown;
// the runner and waiting tables' other writers mark their changes themselves. The race
// name and the organiser memo do not count: every output reads them as they stand.
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"

#include <functional>

namespace {

constexpr int kKuriageStartCol = 1; // the gap columns beside it are drawn from the input grid

bool bodyCell(const StringGrid& g, int col, int row) {
    return col >= g.FixedCols() && row >= g.FixedRows();
}

// Controls also notify when they are enabled or shown: only a new value counts.
template <typename C, typename V>
void watchValue(C& control, V (*read)(const C&), std::function<void()> changed) {
    control.Changed.connect([&control, read, changed, last = read(control)]() mutable {
        const V now = read(control);
        if (now == last) return;
        last = now;
        changed();
    });
}

int spinValue(const SpinEdit& s) {
    return s.Value();
}
bool checked(const CheckBox& c) {
    return c.Checked();
}

} // namespace

void TMainForm::MarkInputsChanged() {
    ++inputRevision_;
    InputsChanged();
}

void TMainForm::WatchResultInputs() {
    auto changed = [this] { MarkInputsChanged(); };
    auto watchCells = [this](StringGrid& g, std::function<bool(int, int)> counts) {
        g.CellChanged.connect([this, counts = std::move(counts)](int col, int row) {
            if (counts(col, row)) MarkInputsChanged();
        });
    };
    for (StringGrid* g : {&InputGrid, &tempKukanGrid, &TeamEntryGrid, &KukanInfGrid, &taikaiBestGrid}) {
        watchCells(*g, [g](int col, int row) { return bodyCell(*g, col, row); });
        g->LayoutChanged.connect(changed);
    }
    watchCells(RunnerEntryGrid, [this](int col, int row) { return bodyCell(RunnerEntryGrid, col, row); });
    StringGrid& kuriage = FormKuriage->KuriageGrid;
    watchCells(kuriage, [&kuriage](int col, int row) {
        return col == kKuriageStartCol && row >= kuriage.FixedRows();
    });
    kuriage.LayoutChanged.connect(changed);
    for (SpinEdit* s : {&KukanSpinNum, &HoketuSpinNum, &SankaSpinNum})
        watchValue(*s, &spinValue, changed);
    watchValue<CheckBox, bool>(chk100, &checked, changed);
}
