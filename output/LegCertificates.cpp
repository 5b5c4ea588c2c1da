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
    const int size = s.FontSize[8];
    std::string out;
    for (int j = 0; j < 4; ++j) {
        if (s.chiefNames[j].empty()) continue;
        const std::string words =
            Format("\\li%d\\sa%d\\q%c", MmToTwips(s.kojin_gaps[j % 2 == 0 ? 1 : 2]) - r.margin, 0, 'l');
        const std::string text = RtfEscapeText(s.chiefNames[j]);
        if (j % 2 == 0)
            out += RtfLine(words, size, text);
        else
            out += RtfParagraph(words, size, Format("{\\fs%d %s}\\sl-%d", size * 2, text.c_str(), size * 20));
    }
    return out;
}

std::string titleLines(const KojinRun& r, const TOutputForm& form, const LegWinner& w) {
    const PrizeSettingsBlock& s = r.s;
    const std::string title = RtfEscapeText(prizeTitle(s, w)), alias = GetClassAlias(s, w.classLetter);
    const std::string words =
        Format("\\sb%d\\sa%d\\qc", MmToTwips(s.kojin_gaps[0]) - r.margin, MmToTwips(s.PrizeGap));
    std::string out;
    if (s.shoClass && !alias.empty())
        out = RtfParagraph(words, s.FontSize[0],
                           Format("{\\fs%d %s}\\line{\\fs%d %s}", s.FontSize[0] * 2, title.c_str(),
                                  static_cast<int>(s.FontSize[0] * 0.7) * 2, RtfEscapeText(alias).c_str()));
    else
        out = RtfLine(words, s.FontSize[0], title);
    const std::string raceWords = Format("\\sb0\\sa%d\\qc", MmToTwips(s.TaiKaiGap));
    if (!r.split) return out + RtfLine(raceWords, s.FontSize[1], RtfEscapeText(r.title));
    return out + RtfParagraph(raceWords, s.FontSize[1],
                              Format("{\\fs%d %s\\line%s}\\sl-%d", s.FontSize[1] * 2,
                                     RtfEscapeText(form.TitleLine1).c_str(),
                                     RtfEscapeText(form.TitleLine2).c_str(), s.FontSize[1] * 20));
}

std::string certificate(const KojinRun& r, const TOutputForm& form, int leg, const LegWinner& w) {
    const PrizeSettingsBlock& s = r.s;
    const TMainForm& f = *MainForm;
    const std::string centred = Format("\\sa%d\\qc", 0);
    std::string out = titleLines(r, form, w);
    out += RtfLine(centred, s.FontSize[2], RtfEscapeText(legText(leg)));
    const std::string record = RtfEscapeText("記録" + f.SecondsToKanjiText(w.time));
    const std::string label = LegRecordLabel(w.mark);
    if (label.empty())
        out += RtfLine(centred, s.FontSize[3], record);
    else
        out += RtfParagraph(centred, s.FontSize[3],
                            Format("{\\fs%d %s}{\\fs%d(%s)}", s.FontSize[3] * 2, record.c_str(),
                                   static_cast<int>(s.FontSize[3] * 1.8), RtfEscapeText(label).c_str()));
    out += RtfLine(centred, s.FontSize[4], RtfEscapeText(Trim(f.RunnerNameText(w.team, leg, 4))) + " 殿");
    out += RtfParagraph(centred, s.FontSize[5],
                        Format("{\\fs%d %s}\\sl-%d", s.FontSize[5] * 2,
                               RtfEscapeText(f.TeamFieldText(w.team, 0)).c_str(), s.FontSize[5] * 20));
    out += RtfLine(Format("\\sb%d\\qc", MmToTwips(s.kojin_gaps[4])), s.FontSize[6], RtfEscapeText(r.glory));
    out += RtfLine(Format("\\sb%d\\sa%d\\qc", MmToTwips(s.kojin_gaps[5]), MmToTwips(s.date_gap2)),
                   s.FontSize[7], RtfEscapeText(r.date));
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
    AllTeamsLegPlaces reads; // no class filter applies to leg prizes; each leg read once
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
            lines.push_back((written ? kPageBreak : "") + certificate(run, form, L, w));
            written = true;
        }
    lines.insert(lines.end(), {"\\pard\\par", "}"});
    FinishCertificates(form, path, lines);
}

void TOutputForm::PutKojinPrizeExecute() {
    WriteKojinPrizeRtf(*this, Tag);
}
