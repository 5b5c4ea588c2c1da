// The Excel output of the result window: the view shown as one tab text (titles,
// organiser, date, the distance and record lines of the overall view, the rows with
// the class places and, when asked, the readings), put on the clipboard and saved
// as a workbook; in the standard batch only the collected notices are shown.
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

const char* const kOrderNames[] = {"チーム順", "個人順"};

std::string headText(const TOutputForm& w) {
    TMainForm& f = *MainForm;
    std::string text;
    if (w.Tag == 0) {
        text = w.ResultTTL.Caption() + "\n";
    } else {
        text = Format("第 %d 区\n", w.Tag);
        text += Format("%s (%s) %s=区間賞、", Trim(f.ReceName.Text()).c_str(),
                       kOrderNames[w.OrderMode == 1 ? 1 : 0], "★");
        if (f.AllTeamsHaveClass()) text += Format("%s=ｸﾗｽ賞、", "◇");
        text += Format("%s=新、%s=タイ\n", "◎", "▽");
    }
    for (const std::string& line : f.OrgName.Lines())
        text += line + "\n";
    return text + f.RaceDateLine() + "\n";
}

std::string distanceText(double km, bool metres) {
    return metres ? Format("%dm", KmToMetres(static_cast<float>(km))) : Format("%gkm", km);
}

// Under the column titles of the overall view: the distances, then the records.
std::string overallTitleLines() {
    TMainForm& f = *MainForm;
    const bool metres = f.chk100.Checked();
    std::string text = "  距離 " + distanceText(f.TotalDistance(), metres) + "\t";
    for (int k = 1; k <= f.KukanNum; ++k)
        text += distanceText(StrToFloatDef(f.KukanInfGrid.Cells(2, k), 0), metres) + "\t";
    text += "\n  大会記録 " + f.TimeToDisplayText(f.taikaiBestGrid.Cells(3, 1)) + "\t";
    for (int k = 1; k <= f.KukanNum; ++k)
        text += f.TimeToDisplayText(f.KukanInfGrid.Cells(3, k)) + "\t";
    return text + "\n";
}

// The team of a block's first row, 0 when its cell holds none.
int blockTeam(const std::string& cell) {
    int team = 0;
    return TryStrToInt(Trim(cell), team) && team >= 1 && team <= MainForm->TeamNum ? team : 0;
}

std::string kanaRow(int team, int cols) {
    TMainForm& f = *MainForm;
    std::string text = "        " + f.TeamFieldText(team, 1) + "\t";
    for (int c = 1; c < cols; ++c)
        text += f.RunnerKanaName(team, c, 0) + "\t";
    return text + "\n";
}

std::string rowsText(const StringGrid& g, bool overall, bool kana, bool allClasses,
                     const std::vector<TeamWorkRec>& recs) {
    std::string text;
    for (int r = 1; r < g.RowCount(); ++r) {
        const bool first = overall && r % 3 == 1;
        const int team = first ? blockTeam(g.Cells(0, r)) : 0;
        for (int c = 0; c < g.ColCount(); ++c) {
            std::string cell = g.Cells(c, r);
            if (first && c == 0) {
                const bool placed = allClasses && team > 0 && recs[team - 1].ClassPlace > 0;
                cell = placed ? Format("%c-%d", recs[team - 1].ClassLetter, recs[team - 1].ClassPlace) : "";
            }
            text += cell + "\t";
        }
        text += "\n";
        if (kana && team > 0) text += kanaRow(team, g.ColCount());
    }
    return text;
}

} // namespace

void TOutputForm::PutToExcelExecute() {
    TMainForm& f = *MainForm;
    const bool overall = Tag == 0;
    const StringGrid& g = overall ? OutputTTLGrid : OutputGrid;
    OutputReads reads; // the readings of every team from one read of the runners
    std::vector<TeamWorkRec> recs;
    bool allClasses = false;
    if (overall) {
        recs.resize(f.TeamNum);
        allClasses = QueryGapRanking(recs);
    }
    // The batch asks nothing: its text goes without readings.
    const bool kana = overall && !BatchMode && (f.HasKanaData(false) || f.HasKanaData(true)) &&
                      Dlg().MessageDlg("ﾌﾘｶﾞﾅが必要ですか？", MsgKind::Confirmation, Btn::YesNo) == mrYes;
    std::string text = headText(*this);
    for (int c = 0; c < g.ColCount(); ++c)
        text += g.Cells(c, 0) + "\t";
    text += "\n";
    if (overall) text += overallTitleLines();
    text += rowsText(g, overall, kana, allClasses, recs);
    Clip().SetText(text);

    if (BatchMode) {
        BatchMessages += "クリップボードにコピーしました。";
        Dlg().ShowMessage(BatchMessages);
        return;
    }
    if (Dlg().MessageDlg(BatchMessages + "クリップボードにコピーしました。\nExcel に出力しますか？",
                         MsgKind::Confirmation, Btn::YesNo) != mrYes) {
        if (!Trim(BatchMessages).empty()) Dlg().ShowMessage(BatchMessages);
        return;
    }
    f.SaveTextAsWorkbook(text);
}

void TOutputForm::OfferMacroWorkbook() {
    MainForm->OfferMacroBook();
}
