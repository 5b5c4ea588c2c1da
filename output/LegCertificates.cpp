// Leg and class certificates "Kukan%02d.RTF": one certificate for every runner who won
// the leg prize (区間賞) or the best time of a class on the leg, for the leg the window
// shows or for every leg; then the font pass and the document opened while the desk waits.
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

namespace {

constexpr const char* kLegPrizeTitle = "区 間 賞";
constexpr int kMarginMm = 10;

struct KojinRun {
    const PrizeSettingsBlock& s;
    int margin; // twips, every side
    std::string title, date, glory;
    bool split;
};

std::string prizeTitle(const PrizeSettingsBlock& s, const LegWinner& w) {
    if (w.place == 1) return kLegPrizeTitle;
    const std::string name = ClassPrizeName(s.classDisp);
    if (s.shoClass && GetClassAlias(s, w.classLetter).empty())
        return Format("%c部%s", w.classLetter, name.c_str());
    return name.find("区間賞") != std::string::npos ? kLegPrizeTitle : name;
}

std::string legText(int leg) {
    const TMainForm& f = *MainForm;
    const double km = StrToFloatDef(f.KukanInfGrid.Cells(2, leg), 0);
    if (f.chk100.Checked()) return Format("第%d区(%dm)", leg, KmToMetres(static_cast<float>(km)));
    return Format("第%d区(%skm)", leg, FloatToStrG(km).c_str());
}

std::string chiefLines(const KojinRun& r) {
    const PrizeSettingsBlock& s = r.s;
    std::string out;
    for (int j = 0; j < 4; ++j) {
        if (s.chiefNames[j].empty()) continue;
        const std::string text = RtfEscapeText(s.chiefNames[j]);
        if (j % 2 == 0)
            out += Format("\\pard\\li%d\\sa%d\\q%c{\\fs%d %s}\\par", MmToTwips(s.kojin_gaps[1]) - r.margin, 0,
                          'l', s.FontSize[8] * 2, text.c_str());
        else
            out += Format("\\pard\\li%d\\sa%d\\q%c{\\fs%d %s}\\sl-%d\\par",
                          MmToTwips(s.kojin_gaps[2]) - r.margin, 0, 'l', s.FontSize[8] * 2, text.c_str(),
                          s.FontSize[8] * 20);
    }
    return out;
}

std::string certificate(const KojinRun& r, const TOutputForm& form, int leg, const LegWinner& w) {
    const PrizeSettingsBlock& s = r.s;
    const TMainForm& f = *MainForm;
    const std::string title = RtfEscapeText(prizeTitle(s, w)), alias = GetClassAlias(s, w.classLetter);
    const int before = MmToTwips(s.kojin_gaps[0]) - r.margin, after = MmToTwips(s.PrizeGap);
    std::string out;
    if (s.shoClass && !alias.empty())
        out = Format("\\pard\\sb%d\\sa%d\\qc{\\fs%d %s}\\line{\\fs%d %s}\\par", before, after,
                     s.FontSize[0] * 2, title.c_str(), static_cast<int>(s.FontSize[0] * 0.7) * 2,
                     RtfEscapeText(alias).c_str());
    else
        out =
            Format("\\pard\\sb%d\\sa%d\\qc{\\fs%d %s}\\par", before, after, s.FontSize[0] * 2, title.c_str());
    if (r.split)
        out += Format("\\pard\\sb0\\sa%d\\qc{\\fs%d %s\\line%s}\\sl-%d\\par", MmToTwips(s.TaiKaiGap),
                      s.FontSize[1] * 2, RtfEscapeText(form.TitleLine1).c_str(),
                      RtfEscapeText(form.TitleLine2).c_str(), s.FontSize[1] * 20);
    else
        out += Format("\\pard\\sb0\\sa%d\\qc{\\fs%d %s}\\par", MmToTwips(s.TaiKaiGap), s.FontSize[1] * 2,
                      RtfEscapeText(r.title).c_str());
    out +=
        Format("\\pard\\sa%d\\qc{\\fs%d %s}\\par", 0, s.FontSize[2] * 2, RtfEscapeText(legText(leg)).c_str());
    const std::string record = RtfEscapeText("記録" + f.SecondsToKanjiText(w.time));
    const std::string label = LegRecordLabel(w.mark);
    if (label.empty())
        out += Format("\\pard\\sa%d\\qc{\\fs%d %s}\\par", 0, s.FontSize[3] * 2, record.c_str());
    else
        out += Format("\\pard\\sa%d\\qc{\\fs%d %s}{\\fs%d(%s)}\\par", 0, s.FontSize[3] * 2, record.c_str(),
                      static_cast<int>(s.FontSize[3] * 1.8), RtfEscapeText(label).c_str());
    out += Format("\\pard\\sa%d\\qc{\\fs%d %s 殿}\\par", 0, s.FontSize[4] * 2,
                  RtfEscapeText(Trim(f.RunnerNameText(w.team, leg, 4))).c_str());
    out += Format("\\pard\\sa%d\\qc{\\fs%d %s}\\sl-%d\\par", 0, s.FontSize[5] * 2,
                  RtfEscapeText(f.TeamFieldText(w.team, 0)).c_str(), s.FontSize[5] * 20);
    out += Format("\\pard\\sb%d\\qc{\\fs%d %s}\\par", MmToTwips(s.kojin_gaps[4]), s.FontSize[6] * 2,
                  RtfEscapeText(r.glory).c_str());
    out += Format("\\pard\\sb%d\\sa%d\\qc{\\fs%d %s}\\par", MmToTwips(s.kojin_gaps[5]),
                  MmToTwips(s.date_gap2), s.FontSize[7] * 2, RtfEscapeText(r.date).c_str());
    return out + chiefLines(r);
}

} // namespace

std::vector<LegWinner> LegWinners(int leg) {
    const int teams = MainForm->TeamNum;
    std::vector<int> places(teams), numbers(teams);
    std::vector<LegWinner> found(teams + 1);
    for (int t = 1; t <= teams; ++t) {
        LegWinner& w = found[t];
        w.team = t;
        w.place = QueryLegTimeRanking(t, leg, w.classLetter, w.time, w.kind, w.mark);
        places[t - 1] = w.place;
        numbers[t - 1] = t;
    }
    SortPairs(places.data(), numbers.data(), teams);
    std::vector<LegWinner> winners;
    for (int i = 0; i < teams; ++i)
        if (places[i] > 0) winners.push_back(found[numbers[i]]);
    return winners;
}

void WriteKojinPrizeRtf(TOutputForm& form, int leg) {
    OutputReads reads; // each leg read once for every team
    TMainForm& f = *MainForm;
    const std::filesystem::path folder = PrizeFolder();
    if (folder.empty()) return;
    WaitCursor wait(Dlg());
    const PrizeSettingsBlock& s = form.PrizeSettings;
    const auto date = CertificateDateText(form);
    if (!date) return;
    const std::string glory = Trim(s.gloryWord.empty() ? "栄光を讃える" : s.gloryWord);
    KojinRun run{s, MmToTwips(kMarginMm), RaceTitleText(0), *date, glory, false};
    const std::filesystem::path path = folder / Format("Kukan%02d.RTF", leg);
    SetRtfPaper(form, s.KPPSize, false, kMarginMm);
    const std::string head = RtfCertificateHead(form);
    if (head.empty()) return;
    RtfLines lines{head, RtfPaperLine(form, false, form.PaperTwips[4])};
    run.split = s.CRPos > 0 && form.SplitTextAtChars(run.title, s.CRPos);
    const int first = leg == 0 ? 1 : leg, last = leg == 0 ? f.KukanNum : leg;
    bool written = false;
    for (int L = first; L <= last; ++L)
        for (const LegWinner& w : LegWinners(L)) {
            lines.push_back((written ? "\\page" : "") + certificate(run, form, L, w));
            written = true;
        }
    lines.insert(lines.end(), {"\\pard\\par", "}"});
    FinishCertificates(form, path, lines);
}

void TOutputForm::PutKojinPrizeExecute() {
    WriteKojinPrizeRtf(*this, Tag);
}
