// The prize list "ALL_List.RTF": every team and runner to be awarded, as RTF tables on
// A4 portrait; the team part (overall, per class, improvement), then the leg and
// class winners of every leg. Opened at once, without waiting.
#include "database/Comparators.h"
#include "database/Editions.h"
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/Certificates.h"
#include "output/OpenCertificates.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <cstdlib>

namespace {

const std::vector<int> kKojinWidths = {14, 18, 30, 35, 35, 25, 10};
const std::vector<int> kTeamWidths = {25, 47, 47, 38, 10};
constexpr int kLeftMm = 20, kOtherMm = 15;

// newPage: the heading starts a page. A "\page" after a table's last row is lost on
// some word processors; a paragraph that breaks before itself is not.
std::string heading(const std::string& text, bool newPage = false) {
    return Format("\\pard%s\\ql{\\fs%d %s}\\par", newPage ? "\\pagebb" : "", 24, RtfEscapeText(text).c_str());
}

std::string cell(const TOutputForm& form, const std::string& text, char align, const std::string& sub = {}) {
    return RtfTableCell(form, RtfEscapeText(text), RtfEscapeText(sub), align);
}

// Header cells of a table: bold, centred.
std::string headerRow(TOutputForm& form, const std::vector<int>& widths,
                      const std::vector<std::string>& texts) {
    const bool bold = form.ListBoldCells;
    form.ListBoldCells = true;
    std::string row = RtfRowDefinition(form, widths);
    for (const std::string& t : texts)
        row += cell(form, t, 'c');
    form.ListBoldCells = bold;
    return row + "\\row";
}

// Which teams of a team table, and what their rows print.
struct TeamTable {
    char kind; // '0' overall, '1' improvement, else the class letter
    int limit;
};

int placeOf(const TeamWorkRec& r, char kind) {
    return kind == '0' ? r.TotalPlace : kind == '1' ? r.GapPlace : r.ClassPlace;
}

std::string teamRow(TOutputForm& form, const TeamWorkRec& r, char kind, bool kana) {
    const TMainForm& f = *MainForm;
    const bool gap = kind == '1';
    const std::string time = f.SecondsToKanjiTextPadded(gap ? std::abs(r.GapTime) : r.TotalTime);
    const std::string remark = gap ? (r.GapTime < 0 ? "進" : "退") : RaceRecordLabel(r.RecordMark);
    return WriteListTeamTable(form, false, kind) + cell(form, IntToStr(placeOf(r, kind)), 'c') +
           cell(form, f.TeamFieldText(r.TeamNo, 0), 'l') +
           cell(form, kana ? f.TeamFieldText(r.TeamNo, 1) : "", 'l') + cell(form, time, 'c') +
           cell(form, remark, 'l') + "\\row";
}

// The rows of one table, its header before the first row (or always, for the overall table).
void addTeamTable(TOutputForm& form, RtfLines& lines, const std::vector<TeamWorkRec>& records, TeamTable t,
                  bool alwaysHeader, bool rows) {
    const TMainForm& f = *MainForm;
    const bool kana = f.HasKanaData(false);
    bool header = false;
    if (alwaysHeader) {
        lines.push_back(WriteListTeamTable(form, true, t.kind));
        header = true;
    }
    for (const TeamWorkRec& r : records) {
        if (!rows || f.IsClassFilteredOut(r.ClassLetter)) continue;
        if (t.kind != '0' && t.kind != '1' && r.ClassLetter != t.kind) continue;
        const int place = placeOf(r, t.kind);
        if (place < 1 || place > t.limit) continue;
        if (!header) lines.push_back(WriteListTeamTable(form, true, t.kind));
        header = true;
        lines.push_back(teamRow(form, r, t.kind, kana));
    }
}

std::string prizeName(const PrizeSettingsBlock& s, const LegWinner& w) {
    const std::string alias = GetClassAlias(s, w.classLetter);
    if (w.place == 1) return alias + "区間賞";
    const std::string name = ClassPrizeName(s.classDisp);
    return alias.empty() ? Format("%c部%s", w.classLetter, name.c_str()) : alias + name;
}

void addLegRows(TOutputForm& form, RtfLines& lines, int leg, bool runnerKana, bool teamKana) {
    const TMainForm& f = *MainForm;
    const double km = StrToFloatDef(f.KukanInfGrid.Cells(2, leg), 0);
    const std::string distance =
        f.chk100.Checked() ? Format("%dm", KmToMetres(static_cast<float>(km))) : FloatToStrG(km) + "km";
    bool first = true;
    for (const LegWinner& w : LegWinners(leg)) {
        if (f.IsClassFilteredOut(w.classLetter)) continue;
        std::string row = WriteListKojinTable(form, false);
        row += cell(form, first ? Format("%d区", leg) : "", 'c') + cell(form, first ? distance : "", 'c');
        row += cell(form, prizeName(form.PrizeSettings, w), 'l');
        row += cell(form, Trim(f.RunnerNameText(w.team, leg, 3)), 'l',
                    runnerKana ? Trim(f.RunnerKanaName(w.team, leg, 0)) : "");
        row += cell(form, f.TeamFieldText(w.team, 0), 'l', teamKana ? f.TeamFieldText(w.team, 1) : "");
        row += cell(form, f.SecondsToKanjiTextPadded(w.time), 'c') + cell(form, LegRecordLabel(w.mark), 'c');
        lines.push_back(row + "\\row");
        first = false;
    }
}

} // namespace

std::string WriteListKojinTable(TOutputForm& form, bool header) {
    if (!header) return RtfRowDefinition(form, kKojinWidths);
    return headerRow(form, kKojinWidths, {"区名", "距離", "賞名", "選手名", "チーム名", "記録", "備考"});
}

std::string WriteListTeamTable(TOutputForm& form, bool header, char kind) {
    if (!header) return RtfRowDefinition(form, kTeamWidths);
    std::vector<std::string> texts{"", "", "", "", ""};
    if (kind == '0')
        texts = {"総合順位", "チーム名", "カナ", "記録", "備考"};
    else if (kind == '1')
        texts[0] = "躍進順位";
    else {
        const std::string alias = GetClassAlias(form.PrizeSettings, kind);
        texts[0] = alias.empty() ? Format("%c部順位", kind) : alias;
    }
    const int size = form.ListCellFontSize;
    form.ListCellFontSize = 10;
    std::string row = headerRow(form, kTeamWidths, texts);
    form.ListCellFontSize = size;
    return row;
}

void WritePrizeListTeamPart(TOutputForm& form, RtfLines& lines) {
    TMainForm& f = *MainForm;
    PrizeTeams teams = ReadPrizeTeams();
    if (teams.records.empty()) return;
    const PrizeSettingsBlock& s = form.PrizeSettings;
    auto& [records, allClassed, improvement, lastClass] = teams;
    improvement = improvement && s.PrizeNums[2] > 0;
    lines.push_back(heading("(団体の部)"));
    form.WorkSortMode = 0;
    SortTeamWorkRecs(records, form.WorkSortMode);
    // With every team classed and a class filter set, the overall table keeps only its header.
    const bool overallRows = !(allClassed && !f.GetClassFilter().empty());
    addTeamTable(form, lines, records, {'0', s.PrizeNums[0]}, true, overallRows);
    for (char c = 'A'; allClassed && c <= lastClass; ++c)
        addTeamTable(form, lines, records, {c, s.PrizeNums[1]}, false, true);
    if (!improvement) return;
    form.WorkSortMode = 2;
    SortTeamWorkRecs(records, form.WorkSortMode);
    addTeamTable(form, lines, records, {'1', s.PrizeNums[2]}, true, true);
}

void WritePrizeListRtf(TOutputForm& form) {
    OutputReads reads; // each leg read once for every team
    TMainForm& f = *MainForm;
    const std::filesystem::path folder = PrizeFolder();
    if (folder.empty()) return;
    WaitCursor wait(Dlg());
    const auto date = CertificateDateText(form);
    if (!date) return;
    const std::filesystem::path path = folder / "ALL_List.RTF";
    SetRtfPaper(form, 0, false, kOtherMm);
    form.PaperTwips[2] = MmToTwips(kLeftMm);
    form.ListTableWidth = form.PaperTwips[0] - form.PaperTwips[2] - form.PaperTwips[3];
    RtfLines lines{RtfListHead(), RtfPaperLine(form, false, form.PaperTwips[4])};
    lines.push_back(Format("\\pard\\qc{\\fs%d %s}\\line\\line{\\ul\\fs%d %s (%s)}\\line\\par", 40,
                           RtfEscapeText("表彰対象リスト").c_str(), 20,
                           RtfEscapeText(RaceTitleText(0)).c_str(), RtfEscapeText(*date).c_str()));
    form.ListCellFontSize = 12;
    WritePrizeListTeamPart(form, lines);
    form.ListCellFontSize = 10;
    lines.push_back(heading("(個人の部)", form.PrizeSettings.NeedNewPage));
    lines.push_back(WriteListKojinTable(form, true));
    const bool runnerKana = f.HasKanaData(true), teamKana = f.HasKanaData(false);
    AllTeamsLegPlaces legPlaces; // a leg prize is the leg's, whatever class is shown
    for (int leg = 1; leg <= f.KukanNum; ++leg)
        addLegRows(form, lines, leg, runnerKana, teamKana);
    lines.push_back("}");
    if (SaveRtf(path, lines)) ShellSvc().OpenDocument(path.string());
}

void TOutputForm::TopRunnersListExecute() {
    WritePrizeListRtf(*this);
}
