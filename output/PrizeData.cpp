// The prize data file "prize_result.csv" that every final showing of the result window
// writes for tools outside the program: the header, two fixed lines of the race, the
// leg and class prize winners of each leg shown, and the overall lines once the view
// reaches the finish. No quoting: a comma in a name shifts that line's columns.
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/ResultTexts.h"
#include "output/TOutputForm.h"
#include "output/TextFile.h"
#include "platform/Dates.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr const char* kPrizeFile = "prize_result.csv";
constexpr const char* kHeader = "区間,順位,クラス,マーク,選手名,カナ,所属名,記録,距離,躍進順位,躍進タイム,クラス順位,リマーク\n";

} // namespace

bool TOutputForm::BeginPrizeResult() {
    TMainForm& f = *MainForm;
    PrizeCsvText.clear();
    Date date;
    if (!TryStrToDate(Trim(f.taikaiBestGrid.Cells(1, 1)), date)) {
        Dlg().ShowMessage("開催日が日付ではないので prize_result.csv を出力できません。");
        return false;
    }
    PrizeCsvText = kHeader;
    PrizeCsvText += "-2,-2,*,-2,***,***,***,0,0.0,0,0,0,0\n";
    PrizeCsvText += "-1,-1,*,-1," + Trim(f.ReceName.Text()) + ",***," +
                    Format("%04d/%02d/%02d", date.Year, date.Month, date.Day) +
                    Format(",0,%g,0,0,0,0\n", f.TotalDistance());
    return true;
}

// Ties and the winners of each class give several lines for one leg.
void TOutputForm::AddPrizeResultLeg(int leg) {
    TMainForm& f = *MainForm;
    const std::string distance = LegDistanceText(leg);
    for (int t = 1; t <= f.TeamNum; ++t) {
        char cls = '*';
        int time = 0, kind = 0, mark = 0;
        const int place = QueryLegTimeRanking(t, leg, cls, time, kind, mark);
        if (place <= 0) continue;
        PrizeCsvText += Format("%d,%d,%c,%d,", leg, place, cls, kind) + Trim(f.RunnerNameText(t, leg, 6)) + "," +
                        f.RunnerKanaName(t, leg, 1) + "," + f.TeamFieldText(t, 0) + "," +
                        IntToStr(f.SecondsToDigits(time)) + "," + distance + Format(",0,0,0,%d\n", mark);
    }
}

bool TOutputForm::WritePrizeResultCsv() {
    if (WriteTextFile(MainForm->DataFolder / kPrizeFile, PrizeCsvText)) return true;
    Dlg().ShowMessage("ファイルがオープン出来ません");
    return false;
}

bool DistanceInMetres() {
    return MainForm->chk100.Checked();
}

std::string LegDistanceText(int leg) {
    const double km = StrToFloatDef(Trim(MainForm->KukanInfGrid.Cells(2, leg)), 0);
    return DistanceInMetres() ? IntToStr(KmToMetres(static_cast<float>(km))) : FloatToStrG(km);
}
