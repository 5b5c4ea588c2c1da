// Times the result window on the 200-team, 50-leg race, without classes and with
// every team in one of four classes: the computation with the overall view, the
// computation with one leg view, and that leg view's switch to individual order.
#include "database/ResultTable.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Dialogs.h"
#include "bench/BenchRace.h"
#include "support/HeadlessProgram.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace BenchRace;
constexpr int kRuns = 5, kLegShown = 25;

// The median time of a showing; false when it said anything but the recompute question.
bool timeIt(HeadlessProgram& p, const std::string& what, const std::function<void()>& run) {
    return PrintMedianOf(what, kRuns, [&] {
        p.dialogs.ClearLog();
        run();
        for (const std::string& text : p.dialogs.Texts())
            if (text.find("再計算") == std::string::npos) return text;
        return std::string();
    });
}

bool timeViews(HeadlessProgram& p, const char* kind) {
    TOutputForm& w = *OutputForm;
    const std::string k = std::to_string(kLegShown);
    auto show = [&](int tag) {
        w.Tag = tag;
        // "再計算しますか ?" is asked when the work table holds the legs shown.
        if (ResultTableLegs() >= (tag ? tag : kLegs)) p.dialogs.AnswerDlg(mrYes);
        w.ShowResults();
    };
    return timeIt(p, std::string("overall view, ") + kind, [&] { show(0); }) &&
           timeIt(p, "leg " + k + " view, team order, " + kind, [&] { show(kLegShown); }) &&
           timeIt(p, "leg " + k + " view, individual order, " + kind, [&] {
               w.UpDownBtnClick();
               w.UpDownBtnClick();
           });
}

} // namespace

int main() {
    HeadlessProgram p;
    TMainForm& f = *MainForm;
    SetUpRace(f, p.home.path() / "race");
    NameEverything(f);
    TypePassings(f, Simulate(f));
    std::printf("result window, %d teams x %d legs, median of %d runs\n", kTeams, kLegs, kRuns);
    if (!timeViews(p, "no classes")) return 1;
    PutClasses(f);
    if (!timeViews(p, "four classes")) return 1;
    return 0;
}
