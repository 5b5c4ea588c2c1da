// Team certificates "AllPrize.RTF": the overall places, the places of each class and
// the improvement prize (躍進賞), one certificate per winning team, then the font pass
// and the document opened while the desk waits.
#include "database/Comparators.h"
#include "database/Editions.h"
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/Certificates.h"
#include "output/OpenCertificates.h"
#include "output/TOutputForm.h"
#include "platform/KanaWidth.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <cstdlib>

namespace {

constexpr const char* kStandardBody = "頭書のとおり優秀な成績をおさめられましたので";
constexpr const char* kStandardGlory = "栄光を讃える";

enum Section { kOverall = 0, kClass = 1, kImprovement = 2 };

// What stays the same for every certificate of a run (twips; margins as stored).
struct TeamRun {
    TOutputForm& form;
    const PrizeSettingsBlock& s;
    bool landscape;
    int g0, g1, g2, g3, g4, sp; // sp: the space after most lines, 1 mm
    int column;                 // landscape: the length of a column of vertical text
    std::string title, date, body;
    bool split;
};

// How far a line runs down its column, in ems of its type: Writer sets full-width
// characters one em apart in vertical text, half-width katakana half an em, and Latin
// ones turned on their side at their own width: a blank at most half an em, the others
// under three quarters of an em for most.
double columnEms(const std::string& text) {
    double ems = 0;
    for (char32_t c : ToU32(text))
        ems += c == ' ' ? 0.5 : c < 0x80 ? 0.75 : c >= 0xFF61 && c <= 0xFF9F ? 0.5 : 1.0;
    return ems;
}

// The half-point sizes of a paragraph's lines (text and points each) so that the
// longest of them stays whole in its column: in landscape a line that wraps puts its
// tail in a column of its own, drawn over the next line. Lines that fit, and portrait,
// keep their sizes. The pitch stays that of the settings, so no other line moves.
std::vector<int> fittedSizes(const TeamRun& r, int indents,
                             const std::vector<std::pair<std::string, int>>& lines) {
    double scale = 1;
    const int room = r.column - indents;
    for (const auto& [text, points] : lines) {
        const double twips = columnEms(text) * points * 20;
        if (r.landscape && room > 0 && twips > room) scale = std::min(scale, room / twips);
    }
    std::vector<int> sizes;
    for (const auto& line : lines)
        sizes.push_back(std::max(1, static_cast<int>(line.second * 2 * scale)));
    return sizes;
}

// One line of a certificate, set smaller in landscape when its column is too short.
std::string fittedLine(const TeamRun& r, const std::string& words, int indents, int points,
                       const std::string& text, const std::string& after = "") {
    const int size = fittedSizes(r, indents, {{text, points}})[0];
    return RtfParagraph(words, points, Format("{\\fs%d %s}", size, RtfEscapeText(text).c_str()) + after);
}

std::string fullWidth(const std::string& text) {
    return MapStringChars(text, kMapFullWidth);
}

std::string awardWords(const TeamRun& r, int section, char classLetter, int place) {
    const PrizeSettingsBlock& s = r.s;
    const bool winner = s.OneIsWinner && place == 1;
    std::string words;
    if (section == kClass) {
        const bool alias = !GetClassAlias(s, classLetter).empty();
        if (winner)
            words = alias ? "優勝" : Format("%c部優勝", classLetter);
        else
            words = alias ? Format("第%d位", place) : Format("%c部第%d位", classLetter, place);
    } else if (section == kImprovement) {
        words = winner ? "躍進賞" : Format("躍進第%d位", place);
    } else {
        words = winner ? "優勝" : Format("第%d位", place);
        if (s.NeedGClass) words = "総合" + words;
    }
    return r.landscape ? fullWidth(ToZenkakuDigits(words)) : words;
}

int placeIn(const TeamWorkRec& rec, int section) {
    return section == kClass ? rec.ClassPlace : section == kImprovement ? rec.GapPlace : rec.TotalPlace;
}

// Time and remark of the record line.
std::string recordText(const TeamRun& r, const TeamWorkRec& rec, int section) {
    const TMainForm& f = *MainForm;
    std::string time, remark;
    if (section == kImprovement) {
        time = f.SecondsToKanjiTextPadded(std::abs(rec.GapTime));
        remark = rec.GapTime > 0 ? "退" : rec.GapTime < 0 ? "進" : "";
    } else {
        time = f.SecondsToKanjiTextPadded(rec.TotalTime);
        remark = RaceRecordLabel(rec.RecordMark);
    }
    if (r.landscape) time = ToZenkakuDigits(time);
    std::string text = "記録" + time;
    if (!remark.empty()) text += "(" + remark + ")";
    return text;
}

std::string chiefLines(const TeamRun& r) {
    const PrizeSettingsBlock& s = r.s;
    std::string out;
    for (int j = 0; j < 4; ++j) {
        if (s.chiefNames[j].empty()) continue;
        // Landscape widens the awarders' lines (1 and 3); their names stay as typed.
        const bool wide = r.landscape && j % 2 == 0;
        const int size = s.TeamFontSize[j % 2 == 0 ? 6 : 7], indent = j % 2 == 0 ? r.g2 : r.g3;
        out += fittedLine(r, Format("\\li%d\\ri%d\\q%c", indent, r.g4, 'j'), indent + r.g4, size,
                          wide ? fullWidth(s.chiefNames[j]) : s.chiefNames[j],
                          Format("\\sl%s%d", j % 2 == 0 ? "" : "-", size * 20));
    }
    return out;
}

std::string titleLine(const TeamRun& r, char a) {
    const PrizeSettingsBlock& s = r.s;
    const int indent = r.landscape ? r.g1 / 2 : 0, points = s.FontSize[1];
    const std::string words =
        Format("\\sb0\\sa%d%s\\q%c", r.sp, r.landscape ? Format("\\li%d", indent).c_str() : "", a);
    const TOutputForm& w = r.form;
    if (!r.split) return fittedLine(r, words, indent, points, r.title);
    const int size = fittedSizes(r, indent, {{w.TitleLine1, points}, {w.TitleLine2, points}})[0];
    return RtfParagraph(words, points,
                        Format("{\\fs%d %s\\line%s}\\sl-%d", size, RtfEscapeText(w.TitleLine1).c_str(),
                               RtfEscapeText(w.TitleLine2).c_str(), points * 20));
}

std::string awardLine(const TeamRun& r, const TeamWorkRec& rec, int section, char classLetter, char a) {
    const PrizeSettingsBlock& s = r.s;
    const int points = s.TeamFontSize[1], aliasPoints = static_cast<int>(points * 0.8);
    const std::string words = Format("\\sa%d\\li%d\\ri%d\\q%c", r.sp, r.g1, r.g4, a);
    const std::string award = awardWords(r, section, classLetter, placeIn(rec, section));
    const std::string alias = section == kClass ? GetClassAlias(s, classLetter) : std::string();
    if (alias.empty()) return fittedLine(r, words, r.g1 + r.g4, points, award);
    const std::vector<int> sizes = fittedSizes(r, r.g1 + r.g4, {{alias, aliasPoints}, {award, points}});
    return RtfParagraph(words, points,
                        Format("{\\fs%d %s}%s{\\fs%d %s}", sizes[0], RtfEscapeText(alias).c_str(), "\\line",
                               sizes[1], RtfEscapeText(award).c_str()));
}

// The team's name and the honorific, which the document writes as it is.
std::string nameLine(const TeamRun& r, const std::string& words, const std::string& name) {
    const int points = r.s.TeamFontSize[3], size = fittedSizes(r, 0, {{name + " 殿", points}})[0];
    return RtfParagraph(words, points, Format("{\\fs%d %s 殿}", size, RtfEscapeText(name).c_str()));
}

// The runners of the member line, broken into columns where BuildTeamMemberLine marks it.
std::string memberLine(const TeamRun& r, const std::string& words, int team) {
    const int points = r.s.TeamFontSize[8];
    const std::string members = BuildTeamMemberLine(r.form, team);
    std::vector<std::pair<std::string, int>> parts;
    for (size_t from = 0, at;; from = at + 2) {
        at = members.find("<>", from);
        parts.emplace_back(members.substr(from, at - from), points);
        if (at == std::string::npos) break;
    }
    const int size = fittedSizes(r, 0, parts)[0];
    return RtfParagraph(words, points,
                        Format("{\\fs%d %s}", size,
                               ReplaceAll(RtfEscapeText(members), RtfEscapeText("<>"), "\\line").c_str()));
}

std::string certificate(const TeamRun& r, const TeamWorkRec& rec, int section, char classLetter, bool first) {
    const PrizeSettingsBlock& s = r.s;
    const TMainForm& f = *MainForm;
    const char a = s.MimicKojin ? (r.landscape ? 'l' : 'c') : 'j';
    const char bodyAlign = s.MimicKojin ? 'c' : 'j';
    std::string out = first ? "" : kPageBreak;
    out += (r.landscape ? "\\lndscpsxn\\linex0\\stextflow1" : "") +
           fittedLine(r, Format("\\sb%d\\sa%d\\qc", r.g0, r.sp), 0, s.TeamFontSize[0],
                      s.TTLOpt == 0 ? "賞 状" : "表彰状");
    if (s.MimicKojin) out += titleLine(r, a);
    out += awardLine(r, rec, section, classLetter, a);
    const std::string centred = Format("\\sa%d\\qc", r.sp);
    out += fittedLine(r, centred, 0, s.TeamFontSize[2], recordText(r, rec, section));
    const std::string name = f.TeamFieldText(rec.TeamNo, 0);
    out += nameLine(r, Format("\\sa%d\\qc", r.sp + MmToTwips(s.team_gaps[6])),
                    r.landscape ? fullWidth(name) : name);
    if (s.NeedPrizeMember) out += memberLine(r, centred, rec.TeamNo);
    // The standard body runs over several columns by design; the glory words are one line.
    const int bodySize = s.MimicKojin ? s.FontSize[6] : s.TeamFontSize[4];
    const int bodyFs = s.MimicKojin ? fittedSizes(r, r.g1 + r.g4, {{r.body, bodySize}})[0] : bodySize * 2;
    out += RtfParagraph(
        Format("\\sb%d\\sa%d\\li%d\\ri%d\\q%c", MmToTwips(s.team_gaps[4]), r.sp, r.g1, r.g4, bodyAlign),
        bodySize,
        Format("{\\fs%d %s}", bodyFs, RtfEscapeText(r.body).c_str()) +
            (r.landscape ? "" : Format("\\sl-%d", bodySize * 20)));
    const std::string date = r.landscape ? ToZenkakuDigits(r.date) : r.date;
    out += fittedLine(r, Format("\\sb%d\\sa%d\\qc", MmToTwips(s.team_gaps[5]), MmToTwips(s.date_gap + 1)), 0,
                      s.TeamFontSize[5], date);
    return out + chiefLines(r);
}

TeamRun prepareRun(TOutputForm& w) {
    const PrizeSettingsBlock& s = w.PrizeSettings;
    TeamRun r{w, s, s.TeamPaperOrientation == 1, 0, 0, 0, 0, 0, 0, 0, {}, {}, {}, false};
    const int top = w.PaperTwips[4], left = w.PaperTwips[2], right = w.PaperTwips[3];
    r.g0 = std::abs(MmToTwips(s.team_gaps[0]) - top);
    r.g1 = std::abs(MmToTwips(s.team_gaps[1]) - left);
    r.g2 = std::abs(MmToTwips(s.team_gaps[2]) - left);
    r.g3 = std::abs(MmToTwips(s.team_gaps[3]) - left);
    r.g4 = std::abs(MmToTwips(s.team_gaps[1]) - right);
    r.sp = MmToTwips(1);
    // Columns run from the top margin printed for landscape down to the bottom margin.
    r.column = w.PaperTwips[1] - top - MmToTwips(s.topMgLandscape) - w.PaperTwips[5];
    r.title = RaceTitleText(0);
    if (r.landscape) {
        r.title = fullWidth(r.title);
        if (r.title.find("回") != std::string::npos) r.title = ToZenkakuDigits(r.title);
    }
    r.split = s.CRPos > 0 && w.SplitTextAtChars(r.title, s.CRPos);
    r.date = CertificateDateText(w).value_or("");
    // Concatenated, never a format: a "%" in the title or the phrase stays.
    if (s.MimicKojin)
        r.body = s.gloryWord.empty() ? kStandardGlory : s.gloryWord;
    else
        r.body = "貴チームは" + r.title + "において" + (s.bodyCont.empty() ? kStandardBody : s.bodyCont) +
                 "その栄誉を讃えこれを賞します";
    return r;
}

} // namespace

std::string BuildTeamMemberLine(const TOutputForm& form, int team) {
    const TMainForm& f = *MainForm;
    const int legs = f.KukanNum;
    const char* sep = form.PrizeSettings.TeamPaperOrientation == 0 ? "/" : " ";
    std::string line;
    for (int slot = 1; slot <= legs; ++slot) {
        line += f.RunnerNameText(team, slot, 4);
        if (slot < legs) line += sep;
        const bool mark = legs > 6 ? slot % 4 == 0 && slot < legs - 1 : slot == (legs + 1) / 2;
        if (mark) line += "<>";
    }
    return line;
}

std::string WriteTeamCertificates(TOutputForm& form, const std::vector<TeamWorkRec>& records, int section,
                                  char classLetter) {
    const TeamRun r = prepareRun(form);
    const PrizeSettingsBlock& s = form.PrizeSettings;
    if (section != kClass && section != kImprovement) section = kOverall;
    const int limit = s.PrizeNums[section];
    std::string out;
    for (const TeamWorkRec& rec : records) {
        const int place = placeIn(rec, section);
        if (place < 1 || place > limit || MainForm->IsClassFilteredOut(rec.ClassLetter)) continue;
        if (section == kClass && rec.ClassLetter != classLetter) continue;
        out += certificate(r, rec, section, classLetter, out.empty());
    }
    return out;
}

PrizeTeams ReadPrizeTeams() {
    PrizeTeams t;
    if (MainForm->TeamNum < 1) {
        Dlg().ShowMessage("参加チームがありません。");
        return t;
    }
    t.records.resize(static_cast<size_t>(MainForm->TeamNum));
    t.allClassed = QueryGapRanking(t.records);
    for (const TeamWorkRec& rec : t.records) {
        t.improvement = t.improvement || rec.GapPlace > 0;
        if (t.allClassed && rec.ClassLetter > t.lastClass) t.lastClass = rec.ClassLetter;
    }
    return t;
}

void WriteTeamPrizeRtf(TOutputForm& form) {
    OutputReads reads; // each leg read once for every team
    TMainForm& f = *MainForm;
    const std::filesystem::path folder = PrizeFolder();
    if (folder.empty()) return;
    PrizeTeams teams = ReadPrizeTeams();
    if (teams.records.empty()) return;
    const PrizeSettingsBlock& s = form.PrizeSettings;
    auto& [records, allClassed, improvement, lastClass] = teams;
    improvement = improvement && s.PrizeNums[kImprovement] >= 1;
    WaitCursor wait(Dlg());
    const std::filesystem::path path = folder / "AllPrize.RTF";
    const bool landscape = s.TeamPaperOrientation == 1;
    SetRtfPaper(form, s.PPSize, true, 20);
    if (landscape) std::swap(form.PaperTwips[0], form.PaperTwips[1]);
    const std::string head = RtfCertificateHead(form);
    if (head.empty()) return;
    const int top = form.PaperTwips[4] + (landscape ? MmToTwips(s.topMgLandscape) : 0);
    if (!CertificateDateText(form)) return;
    RtfLines lines{head, RtfPaperLine(form, landscape, top)};
    bool written = false;
    // "\page" only between certificates: an empty section leaves no blank sheet.
    auto add = [&](const std::string& section) {
        if (section.empty()) return;
        if (written) lines.push_back(kPageBreak);
        lines.push_back(section);
        written = true;
    };
    form.WorkSortMode = 0;
    SortTeamWorkRecs(records, form.WorkSortMode);
    // Under a class filter the ranking holds that class only: its places are no overall places.
    if (f.GetClassFilter().empty()) add(WriteTeamCertificates(form, records, kOverall, '0'));
    for (char c = 'A'; allClassed && c <= lastClass; ++c)
        if (!f.IsClassFilteredOut(c)) add(WriteTeamCertificates(form, records, kClass, c));
    if (improvement) {
        form.WorkSortMode = 2;
        SortTeamWorkRecs(records, form.WorkSortMode);
        add(WriteTeamCertificates(form, records, kImprovement, '0'));
    }
    lines.insert(lines.end(), {"\\pard\\par", "}"});
    FinishCertificates(form, path, lines);
}

void TOutputForm::TopTeamPrizeExecute() {
    WriteTeamPrizeRtf(*this);
}
