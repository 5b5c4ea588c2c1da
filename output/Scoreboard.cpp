// The scoreboard (電光) text file: the result window writes the results shown as
// sections (final result, time gaps, each leg's runners, prize winners) and copies the
// file to a numbered one per leg; the main window writes the starting teams into the
// same file. Columns are aligned with blanks counted in Shift-JIS bytes.
#include "output/Scoreboard.h"

#include "database/Editions.h"
#include "database/RankingQueries.h"
#include "database/ResultTable.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/ResultTexts.h"
#include "output/TOKRightDlg.h"
#include "output/TOutputForm.h"
#include "output/TextFile.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kTitleBytes = 40;
constexpr int kMaxTimeWidth = 20;

TMainForm& mf() {
    return *MainForm;
}

std::string mark(int seconds) {
    return mf().SecondsToMarkText(seconds);
}

int bytes(const std::string& s) {
    return SjisLength(s);
}

std::string title() {
    return RaceTitleText(kTitleBytes);
}

std::string placeText(int place) {
    return place == NoPlace ? "OP" : Format("%2d", place);
}

// The work table's rows of one section in its order, with the fields of its leg.
struct LegRows {
    std::shared_ptr<const ResultImage> table;
    std::vector<int> rows;
    int leg;

    bool empty() const { return rows.empty(); }
    int team(size_t i) const { return table->TeamID(rows[i]); }
    int get(size_t i, LegField field) const { return table->Get(rows[i], field, leg); }
    int last(LegField field) const { return get(rows.size() - 1, field); }
};

// The teams placed on leg k (with a leg time, and a total time when withTotal), ordered
// by the keys.
LegRows placedOnLeg(int k, bool withTotal, std::initializer_list<LegKey> order) {
    LegRows r{OutputWorkTable(), {}, k};
    const ResultImage& img = *r.table;
    r.rows = OrderedRows(
        img,
        [&](int row) {
            return img.Get(row, LegField::Kplace, k) < OutOfRanking && img.Get(row, LegField::Ktime, k) > 0 &&
                   (!withTotal || img.Get(row, LegField::Ttime, k) > 0);
        },
        order);
    return r;
}

// The teams placed on leg k, in order of their total after it.
LegRows teamsByTotal(int k) {
    return placedOnLeg(k, false, {{LegField::Ttime, k}, {LegField::Tplace, k}});
}

std::string prizeLegend(bool classRank) {
    return classRank ? Format(" %s区間賞 %sｸﾗｽ賞", "★", "◇") : Format(" %s区間賞", "★");
}

std::string denkoPath() {
    TMainForm& f = mf();
    const fs::path folder = f.useDnkoDefault ? f.DataFolder : fs::path(f.exDenkoFilePath);
    return (folder / f.exDenkoFileName).string();
}

struct Winner {
    int leg, team, time, kind;
    char cls;
};

std::vector<Winner> legWinners(int lastLeg) {
    std::vector<Winner> all;
    for (int i = 1; i <= lastLeg; ++i)
        for (int j = 1; j <= mf().TeamNum; ++j) {
            char cls = '*';
            int time = 0, kind = 0, record = 0;
            if (QueryLegTimeRanking(j, i, cls, time, kind, record) > 0) all.push_back({i, j, time, kind, cls});
        }
    return all;
}

// The mark before a runner in a leg section; only shown when classes are.
std::string legPrizeMark(int team, int k, int place, bool classRank) {
    if (!classRank) return {};
    if (place == 1) return "★";
    if (place < 2 || place > 998) return "　";
    return QueryClassLegRanking(team, k) > 0 ? "◇" : "　";
}

} // namespace

// ---- Sections ----

bool AppendDenkoFinalResult(std::string& text, int N) {
    TMainForm& f = mf();
    const std::string division = GetDivisionName();
    const int nameWidth = f.MaxTeamNameLength();
    text = division.empty() ? title() + "\n最終結果\n\n" : title() + "\n" + division + "\n最終結果\n";
    const LegRows q = teamsByTotal(N);
    const int timeWidth = q.empty() ? 0 : std::min(bytes(Trim(mark(q.last(LegField::Ttime)))), kMaxTimeWidth);
    for (size_t i = 0; i < q.rows.size(); ++i) {
        const int team = q.team(i), place = q.get(i, LegField::Tplace);
        const int remark = f.MaxRunnerRemark(team, N);
        const std::string time =
            place == NoPlace && remark >= 2 ? RemarkLabel(remark) : Trim(mark(q.get(i, LegField::Ttime)));
        text += " " + placeText(place) + " " + PadLeftSjis(time, timeWidth) + " _" +
                PadRightSjis(f.TeamFieldText(team, 0), nameWidth) + "\n";
    }
    return true;
}

bool AppendDenkoTimeGaps(std::string& text, int N) {
    TMainForm& f = mf();
    text = title() + Format("\n第%d区\nタイム差\n", N);
    const LegRows q = teamsByTotal(N);
    if (q.empty()) return true;
    const int top = q.get(0, LegField::Ttime);
    const int w1 = bytes(Trim(mark(q.last(LegField::Ttime) - top)));
    int w2 = 0, previous = top;
    for (size_t i = 1; i < q.rows.size(); ++i) {
        const int t = q.get(i, LegField::Ttime);
        w2 = std::max(w2, bytes(Trim(mark(t - previous))));
        previous = t;
    }
    previous = top;
    for (size_t i = 0; i < q.rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1, team = q.team(i), t = q.get(i, LegField::Ttime);
        std::string gapTop = "↓", gapPrev = " ";
        if (r > 1 && f.MaxRunnerRemark(team, N) >= 2) {
            gapTop = "DNF";
            gapPrev.clear();
        } else if (r > 1) {
            gapTop = Trim(mark(t - top));
            gapPrev = Trim(mark(t - previous));
            if (gapTop == gapPrev) gapPrev = " "; // level with the top: no second gap
        }
        previous = t;
        text += Format(" %2d ", r) + PadLeftSjis(gapTop, w1) + " " + PadRightSjis("~" + gapPrev, w2) + " _" +
                f.TeamFieldText(team, 0) + "\n";
    }
    return true;
}

bool AppendDenkoLegResult(std::string& text, int k) {
    TMainForm& f = mf();
    TOutputForm& w = *OutputForm;
    text += ":\n";
    const std::string division = GetDivisionName();
    const int nameWidth = f.MaxRunnerNameLength(k);
    text += Format("第%d区 個人成績\n", k);
    const int record = StrToIntDef(Trim(f.KukanInfGrid.Cells(3, k)), 0);
    if (record != 0)
        text += "区間記録" + mark(f.TimeDigitsToSeconds(record)) + " \n";
    else
        text += division + "\n";
    text += "距離" + LegDistanceText(k) + (DistanceInMetres() ? "m" : "km");
    if (w.ClassRankOn) text += prizeLegend(true);
    text += "\n";
    const LegRows q = placedOnLeg(k, true, {{LegField::Ktime, k}, {LegField::Kplace, k}});
    const int timeWidth = q.empty() ? 0 : bytes(mark(q.last(LegField::Ktime)));
    for (size_t i = 0; i < q.rows.size(); ++i) {
        const int team = q.team(i), place = q.get(i, LegField::Kplace);
        const int remark = f.RunnerRemark(team, k);
        const std::string time = remark >= 2 ? RemarkLabel(remark) : mark(q.get(i, LegField::Ktime));
        text += " " + placeText(place) + " " + PadLeftSjis(time, timeWidth) + " " +
                legPrizeMark(team, k, place, w.ClassRankOn) + PadRightSjis(f.RunnerNameText(team, k, 3), nameWidth) +
                " _" + f.TeamFieldText(team, 0) + "\n";
    }
    return true;
}

bool AppendDenkoPrizeWinners(std::string& text, int N) {
    TMainForm& f = mf();
    const bool classRank = OutputForm->ClassRankOn;
    text += ":\n" + title() + Format("\n個人賞獲得者 %d区まで\n", N) + prizeLegend(classRank) + "\n";
    const std::vector<Winner> winners = legWinners(N);
    int width = 0;
    for (const Winner& w : winners)
        width = std::max(width, bytes(Trim(mark(w.time))));
    if (width < 1) width = 6;
    for (const Winner& w : winners) {
        const std::string kind = PrizeMark(w.kind);
        const std::string time = classRank ? mark(w.time) : Trim(mark(w.time));
        text += Format("%2d区 ", w.leg) + kind + (classRank ? std::string(1, w.cls) : std::string()) + " " +
                PadLeftSjis(time, width) + " " + Trim(f.RunnerNameText(w.team, w.leg, 3)) + " _" +
                f.TeamFieldText(w.team, 0) + "\n";
    }
    return true;
}

// ---- The file ----

bool DenkoSettingsReady() {
    TMainForm& f = mf();
    if (!f.useDnkoDefault && Trim(f.exDenkoFilePath).empty()) {
        Dlg().ShowMessage("電光ﾃﾞｰﾀの出力パスが設定されていません。\n環境設定を確認して下さい。");
        return false;
    }
    if (Trim(f.exDenkoFileName).empty()) {
        Dlg().ShowMessage("電光ﾃﾞｰﾀのファイル名が設定されていません。\n環境設定を確認して下さい。");
        return false;
    }
    return true;
}

bool WriteDenkoFile(const std::string& text) {
    TMainForm& f = mf();
    f.LastDenkoFile.clear();
    const std::string path = denkoPath();
    if (!WriteTextFile(path, text)) {
        Dlg().ShowMessage("ファイルがオープン出来ませんでした\n環境設定を確認して下さい。");
        return false;
    }
    f.LastDenkoFile = path;
    Dlg().ShowMessage(path + "\nを保存しました。");
    return true;
}

bool CopyDenkoFileNumbered(const std::string& path, int leg) {
    const std::string target = (fs::path(path).parent_path() / fs::path(path).stem()).string() + "_" +
                               IntToStr(leg) + ".txt";
    if (CopyFileTo(path, target, false)) return true;
    Dlg().ShowMessage(target + " の作成に失敗しました。");
    return false;
}

bool WriteDenkoStartList() {
    TMainForm& f = mf();
    std::string text = title() + "\n\n出場チーム\n";
    const int n = std::max(f.TeamNum, 0);
    std::vector<int> aliases(n), teams(n);
    for (int t = 1; t <= n; ++t) {
        aliases[t - 1] = f.TeamAliasNumber(t);
        teams[t - 1] = t;
    }
    SortPairs(aliases.data(), teams.data(), n);
    for (int i = 0; i < n; ++i) {
        // An empty OP cell is a running team, as on the entry page.
        const int op = std::max(f.TeamOpValue(teams[i]), 0);
        if (op > 1 || aliases[i] <= 0) continue;
        text += Format(" %2d ", aliases[i]) + f.TeamFieldText(teams[i], 0) + "\n";
    }
    OutputForm->DenkoText = text;
    return WriteDenkoFile(text);
}

// ---- Handlers ----

void TOutputForm::PutToDenkoExecute() {
    TMainForm& f = mf();
    if (!DenkoSettingsReady()) return;
    if (!f.ResultFinal) {
        Dlg().ShowMessage("途中情報は電光出力できません。");
        return;
    }
    DenkoText.clear();
    const int N = Tag != 0 ? Tag : f.KukanNum;
    WaitCursor wait(Dlg());
    OutputReads reads;
    if (Tag == 0) {
        AppendDenkoFinalResult(DenkoText, N);
        AppendDenkoPrizeWinners(DenkoText, N);
        for (int k = 1; k <= N; ++k)
            AppendDenkoLegResult(DenkoText, k);
    } else {
        AppendDenkoTimeGaps(DenkoText, N);
        if (N <= 1) {
            AppendDenkoLegResult(DenkoText, N);
        } else {
            OKRightDlg->OKBtn.SetCaption(Format("%d区のみ", N));
            if (Dlg().ShowModal(*OKRightDlg) == mrYes) {
                AppendDenkoLegResult(DenkoText, N);
            } else {
                for (int k = N; k >= 1; --k)
                    AppendDenkoLegResult(DenkoText, k);
            }
            AppendDenkoPrizeWinners(DenkoText, N);
        }
    }
    if (WriteDenkoFile(DenkoText)) CopyDenkoFileNumbered(f.LastDenkoFile, Tag);
}

void TMainForm::denkoStartListExecute() {
    // Without a race the default path is no folder at all.
    if (!TaikaiOpen) {
        Dlg().ShowMessage("大会が開かれていません。");
        return;
    }
    if (!DenkoSettingsReady()) return;
    if (Dlg().MessageDlg("電光ｽﾀｰﾄﾁｰﾑを出力してもいいですか？", MsgKind::Confirmation, Btn::YesNo) != mrYes) return;
    WriteDenkoStartList();
}
