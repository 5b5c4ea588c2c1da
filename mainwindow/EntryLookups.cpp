// Lookups on the entry grids and the runner table that the computation and every
// output ask, per team and leg. Team facts come from the team grid (the working
// copy); runner facts from the runner table, one prepared-statement step per lookup
// with no copy of our own, so no write to the table can leave a stale answer.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "database/RunnerKeys.h"
#include "database/TDataMdl.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "platform/KanaWidth.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int kNameCol = 1, kKanaCol = 2, kAliasCol = 3, kOpCol = 4, kClassCol = 5;
constexpr int kNameWidth = 10;     // bytes of a padded runner name
constexpr int kListNameWidth = 12; // bytes of the name in the runner list

std::optional<RunnerRecord> runner(int team, int slot) {
    return ReadRunnerRecord(RunnerKey(team, slot));
}

std::string padRightBytes(const std::string& s, int width) {
    int len = SjisLength(s);
    return len >= width ? s : s + std::string(width - len, ' ');
}

std::string circledDigit(int year) {
    return FromU32(static_cast<char32_t>(U'①' + year - 1));
}

// Case folding of ASCII and full-width Latin letters.
std::u32string foldCase(const std::string& s) {
    std::u32string u = ToU32(s);
    for (char32_t& c : u) {
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        else if (c >= U'Ａ' && c <= U'Ｚ')
            c += U'ａ' - U'Ａ';
    }
    return u;
}

std::string legField(const char* name, int leg) {
    return Format("%s_%d", name, leg);
}

int fieldInt(const DataQuery& q, const std::string& name) {
    return q.Field(name).AsInteger();
}

// Whether some record of the runner table meets the condition; false while the
// edition has no runner table.
bool someRunnerWhere(const TMainForm& f, const std::string& condition,
                     const std::vector<Value>& params = {}) {
    if (f.TaikaiNo < 1 || f.DataFolder.empty()) return false;
    Database& db = RaceDb();
    const std::string file = RunnerTableName(f.TaikaiNo);
    if (!db.TableExists(file)) return false;
    Query q = db.Prepare("SELECT 1 FROM " + file + " WHERE " + condition + " LIMIT 1");
    const bool found = q.BindAll(params).Step();
    q.Reset();
    return found;
}

// "区間新" / "区間ﾀｲ" for a new or equalled leg record, else nothing.
std::string legRecordText(int compare) {
    if (compare == kNewRecord) return "区間新";
    if (compare == kRecordEqualled) return "区間ﾀｲ";
    return {};
}

} // namespace

// ---- Team lookups ----

int TMainForm::CountAbsentTeams() const {
    int n = 0;
    for (int r = 1; r < TeamEntryGrid.RowCount(); ++r)
        if (StrToIntDef(TeamEntryGrid.Cells(kOpCol, r), 0) == 2) ++n;
    return n;
}

int TMainForm::TeamAliasNumber(int team) const {
    if (team < 1 || team > TeamNum) return 0;
    int alias = StrToIntDef(TeamEntryGrid.Cells(kAliasCol, team), 0);
    return alias >= 1 && alias <= kMaxAlias ? alias : team;
}

int TMainForm::FindTeamRowByAlias(int number) const {
    if (number == 0) return 0;
    for (int r = 1; r <= TeamNum; ++r) {
        const std::string alias = Trim(TeamEntryGrid.Cells(kAliasCol, r));
        if (alias.empty() && number >= 1 && number <= TeamNum) return number;
        if (!alias.empty() && StrToIntDef(alias, -1) == number) return r;
    }
    return -1;
}

int TMainForm::TeamOpValue(int team) const {
    if (team < 1 || team > TeamNum) return -1;
    const std::string cell = Trim(TeamEntryGrid.Cells(kOpCol, team));
    return cell.empty() ? -1 : StrToIntDef(cell, 0);
}

// A number outside the grid has no team, and no team runs under it.
bool TMainForm::IsAbsentTeam(int team) const {
    if (team < 1 || team >= TeamEntryGrid.RowCount()) return true;
    return StrToIntDef(TeamEntryGrid.Cells(kOpCol, team), 0) == 2;
}

int TMainForm::TeamStateByAlias(int slot, int number) const {
    int team = FindTeamRowByAlias(number);
    if (team < 1) return 0;
    if (TeamOpValue(team) == 2) return 2;
    return RunnerRemark(team, slot);
}

std::string TMainForm::TeamFieldText(int team, int kind) const {
    if (team < 1 || team > TeamNum) return {};
    static const int cols[] = {kNameCol, kKanaCol, kClassCol};
    if (kind < 0 || kind > 2) return {};
    return Trim(TeamEntryGrid.Cells(cols[kind], team));
}

bool TMainForm::HasOpTeam() const {
    for (int r = 1; r < TeamEntryGrid.RowCount(); ++r)
        if (StrToIntDef(TeamEntryGrid.Cells(kOpCol, r), 0) == 1) return true;
    return false;
}

bool TMainForm::HasKanaData(bool runners) const {
    if (!runners) {
        for (int r = 1; r < TeamEntryGrid.RowCount(); ++r)
            if (!Trim(TeamEntryGrid.Cells(kKanaCol, r)).empty()) return true;
        return false;
    }
    return someRunnerWhere(*this, "TRIM(COALESCE(R_SEIKANA,''))<>'' OR TRIM(COALESCE(R_MEIKANA,''))<>''");
}

bool TMainForm::AllTeamsHaveClass() {
    int with = 0, rows = TeamEntryGrid.RowCount() - 1;
    for (int r = 1; r <= rows; ++r)
        if (!Trim(TeamEntryGrid.Cells(kClassCol, r)).empty()) ++with;
    if (with == rows) return true;
    if (with > 0 && !ClassMixWarned) {
        ClassMixWarned = true;
        Dlg().ShowMessage("空白のｸﾗｽが混在しています。\n※設定は無視されます。");
    }
    return false;
}

std::string TMainForm::MaxClassLetter() const {
    char32_t best = 0;
    for (int r = 1; r < TeamEntryGrid.RowCount(); ++r) {
        std::u32string c = ToU32(Trim(TeamEntryGrid.Cells(kClassCol, r)));
        if (!c.empty()) best = std::max(best, c[0]);
    }
    return best ? FromU32(best) : " ";
}

int TMainForm::MaxTeamNameLength() const {
    int best = 0;
    for (int t = 1; t <= TeamNum; ++t)
        best = std::max(best, SjisLength(TeamFieldText(t, 0)));
    return best;
}

// ---- Runner lookups ----

int TMainForm::RunnerRemark(int team, int slot) const {
    auto r = runner(team, slot);
    return r ? r->Remark : 0;
}

int TMainForm::MaxRunnerRemark(int team, int leg) const {
    if (!HasNoRecordRunner || leg < 1) return 0;
    return MaxRemarkInKeyRange(RunnerKey(team, 1), RunnerKey(team, leg));
}

// One query over the table instead of a lookup per team and leg.
bool TMainForm::DetectNoRecordRunner(int legs) const {
    return someRunnerWhere(
        *this, "REMARK>=2 AND Team_Kukan/100 BETWEEN 1 AND ?1 AND Team_Kukan%100 BETWEEN 1 AND ?2",
        {Value(TeamNum), Value(legs)});
}

std::string TMainForm::RunnerKanaName(int team, int slot, int mode) const {
    auto r = runner(team, slot);
    std::string kana = r ? Trim(Trim(r->SeiKana) + " " + Trim(r->MeiKana)) : std::string();
    if (mode == 1 && kana.empty()) return "***";
    return kana;
}

std::string TMainForm::RunnerFieldText(int team, int slot, int kind) const {
    auto r = runner(team, slot);
    if (!r) return {};
    if (kind == 0) return IntToStr(r->Age);
    if (kind == 1) return r->SeiKana + " " + r->MeiKana;
    return {};
}

std::string TMainForm::RunnerNameText(int team, int slot, int mode) const {
    auto r = runner(team, slot);
    if (!r) return {};
    if (mode == 7) return Trim(Trim(r->Sei) + " " + Trim(r->Mei) + "\t" + IntToStr(r->Age));
    std::string name = JoinRunnerName(r->Sei, r->Mei, mode);
    bool withYear = mode != 3 && mode != 4 && mode != 6;
    if (withYear && r->Age >= 1 && r->Age <= 9) name += circledDigit(r->Age);
    if (mode == 5 && r->Remark == 2) name = "*" + name;
    return Trim(name);
}

std::string TMainForm::JoinRunnerName(const std::string& family, const std::string& given, int mode) {
    const std::string f = Trim(family), g = Trim(given);
    if (f.empty() && g.empty()) return {};
    if (mode == 4) return f + g;
    if (mode == 1 || mode == 6) return f + " " + g;
    int len = SjisLength(f + g);
    return len >= kNameWidth ? f + g : f + std::string(kNameWidth - len, ' ') + g;
}

std::string TMainForm::RunnerListText(int legIndex, bool withKana) const {
    const int row = legIndex + 2;
    const StringGrid& g = RunnerEntryGrid;
    std::string name = Trim(g.Cells(1, row)) + " " + Trim(g.Cells(2, row));
    if (!withKana) return name;
    return padRightBytes(name, kListNameWidth) + " " + Trim(g.Cells(3, row)) + " " + Trim(g.Cells(4, row));
}

int TMainForm::MaxRunnerNameLength(int leg) const {
    int best = 0;
    for (int t = 1; t <= TeamNum; ++t)
        best = std::max(best, SjisLength(Trim(RunnerNameText(t, leg, 3))));
    return best;
}

// ---- Texts over the result work table ----

// Both read the work table an output keeps for all its legs: a query per leg costs
// more than the text.
std::string TMainForm::LegWinnersText(int leg) const {
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    if (leg < 1 || leg > img.Legs()) return {};
    std::string out;
    for (int row : OrderedRows(img, [&](int r) { return img.Get(r, LegField::Kplace, leg) == 1; }, {})) {
        const int team = img.TeamID(row), time = img.Get(row, LegField::Ktime, leg);
        out += Format("%d区", leg) + "\t" + RunnerNameText(team, leg, 3) + "\t" + TeamFieldText(team, 0) +
               "\t" + SecondsToMarkText(time) + "\t" + legRecordText(CompareLegRecord(time, leg)) + "\n";
    }
    return out;
}

std::string TMainForm::LegRunnersText(int leg) const {
    const auto table = OutputWorkTable();
    const ResultImage& img = *table;
    const auto placed = [&](int r) {
        const int place = img.Get(r, LegField::Kplace, leg);
        return place >= 1 && place < NoPlace;
    };
    std::string out;
    for (int row : OrderedRows(img, placed, {{LegField::Ktime, leg}, {LegField::Kplace, leg}})) {
        const int team = img.TeamID(row), time = img.Get(row, LegField::Ktime, leg);
        // No class gives an empty field: the text goes to files and the clipboard.
        std::u32string cls = ToU32(TeamFieldText(team, 2));
        out += Format("%d\t%d\t", leg, img.Get(row, LegField::Kplace, leg)) + RunnerNameText(team, leg, 6) + "\t" +
               RunnerFieldText(team, leg, 1) + "\t" + RunnerFieldText(team, leg, 0) + "\t" +
               TeamFieldText(team, 0) + "\t" + SecondsToClockText(time) + "\t" +
               SecondsToKanjiTextPadded(time) + "\t" + (cls.empty() ? std::string() : FromU32(cls[0])) + "\n";
    }
    return out;
}

std::string TMainForm::LegTopNameText(int leg, bool individual) const {
    const std::string kp = legField("Kplace", leg), tp = legField("Tplace", leg);
    const std::string kt = legField("Ktime", leg), tt = legField("Ttime", leg);
    std::string sql =
        individual ? Format("SELECT TeamID FROM temptable.db WHERE %s =1 ORDER BY %s", kp.c_str(), tp.c_str())
                   : Format("SELECT TeamID FROM temptable.db WHERE %s<1000 AND %s>0 AND %s>0 AND %s>0 "
                            "ORDER BY %s, %s",
                            kp.c_str(), tp.c_str(), tt.c_str(), kt.c_str(), tt.c_str(), tp.c_str());
    DataQuery q = RaceQuery(sql);
    if (q.Eof()) return {};
    int team = fieldInt(q, "TeamID");
    return individual ? RunnerNameText(team, leg, 1) : TeamFieldText(team, 0);
}

// ---- Grid and text utilities ----

bool TMainForm::IsGridRangeEmpty(const StringGrid& grid, int firstRow) {
    for (int r = std::max(firstRow, 0); r < grid.RowCount(); ++r)
        for (int c = grid.FixedCols(); c < grid.ColCount(); ++c)
            if (!grid.Cells(c, r).empty()) return false;
    return true;
}

void TMainForm::ClearGridRowsFrom(StringGrid& grid, int firstRow) {
    for (int r = std::max(firstRow, 0); r < grid.RowCount(); ++r)
        for (int c = grid.FixedCols(); c < grid.ColCount(); ++c)
            grid.SetCells(c, r, "");
}

double TMainForm::TotalDistance() const {
    double km = 0;
    for (int k = 1; k <= KukanNum; ++k)
        km += static_cast<float>(StrToFloatDef(Trim(KukanInfGrid.Cells(2, k)), 0));
    return km;
}

std::string TMainForm::TruncateToBytes(const std::string& text, int n) {
    std::string t = Trim(text);
    if (SjisLength(t) <= n) return t;
    return Trim(CutSjis(t, n));
}

std::string TMainForm::ConvertTextWidth(const std::string& text, int mode) {
    if (mode <= 0) return MapStringChars(text, kMapFullWidth);
    if (mode <= 3) return MapStringChars(text, mode);
    return text;
}

std::string TMainForm::ToFullWidth(const std::string& text) {
    return ConvertTextWidth(text, 0);
}

bool TMainForm::TextsMatchLoosely(const std::string& a, const std::string& b) {
    return foldCase(a) == foldCase(b) || foldCase(ToFullWidth(a)) == foldCase(ToFullWidth(b));
}
