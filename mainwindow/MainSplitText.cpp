// The split grid as a plain text for the desk's other tools: "slit_text.txt" in the
// race's DataHTML/csv folder, one line per passing of a running team.
#include "database/RankingQueries.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "output/RecordMarks.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kNumberCol = 1, kTimeCol = 2, kLegCol = 3;

int cellInt(const StringGrid& g, int col, int row) {
    return StrToIntDef(g.Cells(col, row), 0);
}

} // namespace

// Only passings of a team that runs and of a runner with a normal record are written;
// a number no team runs under (an empty row too) gives no line.
std::string TMainForm::SplitTextLines() const {
    const TeamNumberTable teams(*this);
    OutputReads reads; // the runner table read once, not per row
    const StringGrid& g = tempKukanGrid;
    std::string text;
    for (int r = g.FixedRows(); r < std::min(SlitAbsentRow(), g.RowCount()); ++r) {
        const int number = cellInt(g, kNumberCol, r), leg = cellInt(g, kLegCol, r);
        const int team = teams.Find(number);
        if (team < 1 || TeamOpValue(team) == 2 || RunnerRemark(team, leg) != 0) continue;
        // Milliseconds of a hundredths time code pass 32 bits.
        const long long ms = 1000LL * cellInt(g, kTimeCol, r);
        text += Format("%d,%d,%d,%d,%lld,%lld,%d\r\n", 1, 1, number, leg, ms, ms, 1);
    }
    return text;
}

void TMainForm::doPutSlitText() {
    if (GridIsEmpty(tempKukanGrid)) {
        Dlg().ShowMessage("ｽﾘｯﾄｸﾞﾘｯﾄﾞは空です。");
        return;
    }
    const std::string text = SplitTextLines();
    try {
        MakeHtmlFolder();
    } catch (const CreateFolderError& e) {
        Dlg().ShowException(e.what());
        return;
    }
    const fs::path path = HtmlCsvFolder() / "slit_text.txt";
    if (WriteFileBytes(path, text))
        Dlg().ShowMessage(path.string() + "を作成しました。");
    else
        Dlg().ShowMessage(path.string() + "の作成に失敗しました。");
}

void TMainForm::wireSplitFileHandlers() {
    ActionFillDummy.OnExecute = [this] { ActionFillDummyExecute(); };
    ActionMergeCSV.OnExecute = [this] { ActionMergeCSVExecute(); };
    ActionPutSlitText.OnExecute = [this] { ActionPutSlitTextExecute(); };
}
