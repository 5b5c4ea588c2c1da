// The main window's links to the clock-time window: opening it on the current leg,
// the actions that forward to it, and the clock log "stcltime.log" that keeps its
// start times from one run to the next.
#include "mainwindow/GridOps.h"
#include "mainwindow/PendingParts.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <sstream>

namespace {

constexpr const char* kClockLogName = "stcltime.log";

std::filesystem::path clockLogPath() {
    return MainForm->DataFolder / kClockLogName;
}

// "leg hour minute" with nothing else on the line; false for anything else.
bool parseLogLine(const std::string& line, int& leg, int& hour, int& minute) {
    std::istringstream in(line);
    std::string a, b, c, rest;
    if (!(in >> a >> b >> c) || (in >> rest)) return false;
    return TryStrToInt(a, leg) && TryStrToInt(b, hour) && TryStrToInt(c, minute);
}

} // namespace

void TMainForm::OpenClockInputFormExecute() {
    // Column "順" is no leg: the window would write its times over the passing order.
    if (InputGrid.Col() < 1) {
        Dlg().ShowMessage("区間の列を選択して下さい。");
        return;
    }
    FormClockInput->SetupClockGrid();
    Dlg().ShowModal(*FormClockInput);
}

void TMainForm::wireClockHandlers() {
    OpenDelayInfForm.OnExecute = [this] { OpenDelayInfFormExecute(); };
    deleteClockLog.OnExecute = [this] { deleteClockLogExecute(); };
    accumuClc.SetHint("積算変換");
    accumuClc.OnExecute = [] { FormClockInput->AccumulateLegTimes(); };
    close_clockInput.OnExecute = [] { FormClockInput->CloseWindow(); };
    clearGrid.OnExecute = [] {
        StringGrid& g = FormClockInput->ClocInputStringGrid;
        if (!GridIsEmpty(g)) ClearGridRange(g, 1, g.RowCount());
    };
    OpenCsvData.OnExecute = [] { FormClockInput->OpenClockCsvFile(); };
    SaveCsvData.OnExecute = [] { FormClockInput->SaveClockCsv(); };
    clippeek.OnExecute = [] { FormClockInput->ImportClipboardGrid(); };
}

// Only start times other than 0:00 are written; a file that cannot be written is left.
void WriteClockLog() {
    const TFormClockInput& c = *FormClockInput;
    std::string text;
    for (int i = 0; i <= MainForm->KukanNum && i <= kClockLegs; ++i) {
        const int t = c.ClockStartTimes[i];
        const int hour = t / 3600, minute = t % 3600 / 60;
        if (hour != 0 || minute != 0) text += Format("%d %d %d\r\n", i, hour, minute);
    }
    WriteSjisFile(clockLogPath(), text);
}

// Every start time begins at 0:00, as the log leaves them out; a damaged line is
// skipped, so a bad log never stops the opening of an edition.
void ReadClockLog() {
    TFormClockInput& c = *FormClockInput;
    c.ClockStartTimes.fill(0);
    // Digits and blanks only: read as bytes, so a damaged byte spoils only its own line.
    std::string text;
    if (!ReadFileBytes(clockLogPath(), text)) return;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        int leg = 0, hour = 0, minute = 0;
        if (line.size() > 1024 || !parseLogLine(line, leg, hour, minute)) continue;
        if (leg < 0 || leg > MainForm->KukanNum || leg > kClockLegs) continue;
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59) continue;
        c.ClockStartTimes[leg] = TFormClockInput::ClockToDateTime(hour, minute);
    }
}

int TMainForm::DeleteClockLog() {
    const std::filesystem::path p = clockLogPath();
    if (!FileExists(p)) return 0;
    return DeleteFileAt(p) ? 1 : 2;
}

void TMainForm::deleteClockLogExecute() {
    static const char* const kResults[] = {"起ﾀｲﾑ ﾛｸﾞﾌｧｲﾙは存在しませんでした。",
                                           "起ﾀｲﾑ ﾛｸﾞﾌｧｲﾙを削除しました。",
                                           "起ﾀｲﾑ ﾛｸﾞﾌｧｲﾙの削除に失敗しました。"};
    Dlg().ShowMessage(kResults[DeleteClockLog()]);
    FormClockInput->ClockStartTimes.fill(TFormClockInput::ClockToDateTime(0, 0));
}
