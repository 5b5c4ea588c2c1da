// The CSV entry window: marking a range of the CSV grid and importing it as runner
// names (with school years and readings) into the runner table, and team names,
// readings and alias numbers into the team grid.
#include "mainwindow/TCSVEntry.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RunnerKeys.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kRangeColour = 0xA6CAF0; // light blue
constexpr int kOutsideColour = 0x808080;
constexpr int kRunnerTextBytes = 20;
constexpr int kMaxSingleBytes = 255;
constexpr int kFirstTooLargeAlias = 1000;
constexpr int kNoFreeTeam = -1; // a block row's alias found no team left to name
constexpr int kTeamNameCol = 1, kTeamKanaCol = 2, kTeamAliasCol = 3;
constexpr const char* kFullWidthBlank = "　";

bool editionInUse() {
    return MainForm->TaikaiOpen && MainForm->TaikaiNo >= 1 && !MainForm->DataFolder.empty();
}

// Trailing half-width digits of value 1..10 are the school year, else a trailing
// circled digit; the year's text leaves the name. Anything else is year 0, name kept.
int takeSchoolYear(std::string& name) {
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
    if (digits < name.size()) {
        const int year = StrToIntDef(name.substr(digits), 0);
        if (year >= 1 && year <= 10) {
            name.erase(digits);
            return year;
        }
    }
    std::u32string u = ToU32(name);
    if (!u.empty() && u.back() >= U'\u2460' && u.back() <= U'\u2469') {
        const int year = static_cast<int>(u.back() - U'\u2460') + 1;
        u.pop_back();
        name = FromU32(u);
        return year;
    }
    return 0;
}

// "501、502": the numbers a notice names.
std::string numberList(const std::vector<int>& numbers) {
    std::string out;
    for (int n : numbers)
        out += (out.empty() ? "" : "、") + Format("%d", n);
    return out;
}

std::string nameField(const std::string& text) {
    return Trim(TCSVEntry::ToFullWidthSpaces(Trim(text)));
}

// "姓 名" at the first half-width blank, else at the first full-width one.
void splitName(const std::string& name, std::string& family, std::string& given) {
    size_t at = name.find(' ');
    size_t skip = 0;
    if (at == std::string::npos) {
        at = name.find(kFullWidthBlank);
        skip = std::string(kFullWidthBlank).size();
    }
    if (at == std::string::npos) {
        family = nameField(name);
        given.clear();
        return;
    }
    family = nameField(name.substr(0, at));
    given = nameField(name.substr(at + skip));
}

// Runner texts are fixed-size fields of the table: cut at a whole character.
Value runnerText(const std::string& s) {
    return Value(TrimRight(CutSjis(s, kRunnerTextBytes)));
}

int cellNumber(const StringGrid& g, int col, int row) {
    return StrToIntDef(Trim(g.Cells(col, row)), 0);
}

} // namespace

TCSVEntry::TCSVEntry() : FormBase("TCSVEntry") {
    SetCaption("CSVエントリー");
    Label1.SetCaption("チーム名");
    Label3.SetCaption("No");
    getOpt.SetCaption("監督含む");
    getRunnerNameExe.SetHint("選手情報取込");
    getRunnerNameExe.OnExecute = [this] { getRunnerNameExeExecute(); };
    initTeamPara.OnExecute = [this] { initTeamParaExecute(); };
    close.OnExecute = [this] { closeExecute(); };
    E1.OnExecute = [this] { closeExecute(); };
}

std::vector<Action*> TCSVEntry::MenuItems() const {
    return {&MainForm->openCSVForm, const_cast<Action*>(&initTeamPara), const_cast<Action*>(&getRunnerNameExe),
            const_cast<Action*>(&E1)};
}

void TCSVEntry::FormShow() { getOpt.SetChecked(MainForm->CSVEntryGetOpt); }

void TCSVEntry::FormClose() { MainForm->CSVEntryGetOpt = getOpt.Checked(); }

void TCSVEntry::closeExecute() {
    FormClose();
    Close();
    SetModalResult(mrOk);
}

void TCSVEntry::initTeamParaExecute() {
    editTeamName.SetText("");
    editNoCard.SetText("");
}

// ---- The range and the edit boxes ----

void TCSVEntry::StringGrid1MouseDown(bool rightButton, bool shift, bool ctrl, int col, int row) {
    if (ctrl) {
        if (rightButton) {
            editTeamName.SetText(Trim(StringGrid1.Cells(col, row)));
            return;
        }
        const int n = StrToIntDef(StringGrid1.Cells(col, row), 0);
        editNoCard.SetText(n >= 1 && n <= MainForm->TeamNum ? Format("%d", n) : "ﾅﾝﾊﾞｰｶｰﾄﾞ範囲外");
        return;
    }
    if (rightButton) {
        RangeC0 = RangeR0 = RangeC1 = RangeR1 = 0;
        RangeSet = false;
    } else if (shift) {
        RangeC1 = col;
        RangeR1 = row;
        RangeSet = true;
    } else {
        RangeC0 = col;
        RangeR0 = row;
        RangeSet = false;
    }
    RangeChanged();
}

bool TCSVEntry::inRange(int col, int row) const {
    return col >= std::min(RangeC0, RangeC1) && col <= std::max(RangeC0, RangeC1) &&
           row >= std::min(RangeR0, RangeR1) && row <= std::max(RangeR0, RangeR1);
}

CellStyle TCSVEntry::StringGrid1DrawCell(int col, int row) const {
    CellStyle st;
    st.Align = CellAlign::Center;
    st.Text = StringGrid1.Cells(col, row);
    st.FontColor = clBlack;
    st.Background = !RangeSet || inRange(col, row) ? kRangeColour : kOutsideColour;
    return st;
}

void TCSVEntry::normaliseRange() {
    if (RangeC0 > RangeC1) std::swap(RangeC0, RangeC1);
    if (RangeR0 > RangeR1) std::swap(RangeR0, RangeR1);
}

// ---- The import ----

void TCSVEntry::getRunnerNameExeExecute() {
    if (!RangeSet) {
        Dlg().ShowMessage("範囲が指定されていません。");
        return;
    }
    normaliseRange();
    RangeChanged();
    if (RangeC0 == RangeC1)
        importOneTeam(0, RangeR1 - RangeR0 + 1);
    else if (RangeR0 == RangeR1)
        importOneTeam(1, RangeC1 - RangeC0 + 1);
    else
        importBlock();
}

void TCSVEntry::importOneTeam(int direction, int count) {
    TMainForm& f = *MainForm;
    const int n = StrToIntDef(Trim(editNoCard.Text()), 0);
    // Row 0 of the team grid is its title row.
    if (n < 1 || n > f.TeamNum) {
        Dlg().ShowMessage("ﾁｰﾑNoが参加ﾁｰﾑ数を超えています。");
        return;
    }
    const std::string name = Trim(editTeamName.Text());
    if (!name.empty()) f.TeamEntryGrid.SetCells(kTeamNameCol, n, name);
    const int stored = ImportRunnerRange(n, count, 0, 0, direction, StringGrid1);
    std::string notice = Format("%d 人の選手を取り込みました。", stored);
    if (LastBeyondSlots > 0) notice += Format("\n選手枠を超えた %d 人は取り込んでいません。", LastBeyondSlots);
    Dlg().ShowMessage(notice);
    if (stored == 0)
        Dlg().ShowMessage("選手ﾃｰﾌﾞﾙが存在しない可能性があります。\n『ｴﾝﾄﾘｰ情報の整理』を実行して下さい。");
}

void TCSVEntry::importBlock() {
    TMainForm& f = *MainForm;
    const StringGrid& g = StringGrid1;
    const int count = RangeC1 - RangeC0 - 1;
    if (count < 1) {
        Dlg().ShowMessage("選手が指定範囲内に入っていません。");
        return;
    }
    if (Dlg().MessageDlg(std::string("複数ﾁｰﾑを取り込もうとしています。\n") + "範囲セルは　No、ﾁｰﾑ、選手1、選手2... \n" +
                             "の横並びﾌｫｰﾏｯﾄでなければなりません。\n" + "(Noが空白の行はﾌﾘｶﾞﾅとします。)\n\n" +
                             "実行しますか?",
                         MsgKind::Confirmation, Btn::YesNo) != mrYes)
        return;
    std::vector<bool> taken(kMaxTeams + 1, false);
    for (int r = RangeR0; r <= RangeR1; ++r) {
        const int n = cellNumber(g, RangeC0, r);
        if (n >= 1 && n <= f.TeamNum) taken[n] = true;
    }
    int teams = 0, runners = 0;
    std::vector<int> unplaced, cut; // the block's "No" of rows without a team, of runners left out
    WaitCursor wait(Dlg());
    for (int r = RangeR0; r <= RangeR1; ++r) {
        if (Trim(g.Cells(RangeC0, r)).empty()) continue; // a reading row
        const int n = cellNumber(g, RangeC0, r);
        const int team = blockRowTeam(n, taken);
        if (team == kNoFreeTeam) unplaced.push_back(n);
        const std::string name = Trim(g.Cells(RangeC0 + 1, r));
        if (team < 1 || name.empty()) continue;
        f.TeamEntryGrid.SetCells(kTeamNameCol, team, name);
        f.TeamEntryGrid.SetCells(kTeamKanaCol, team, kanaAbove(g, RangeC0 + 1, r));
        runners += ImportRunnerRange(team, count, r - RangeR0, 2, 1, g);
        if (LastBeyondSlots > 0) cut.push_back(n);
        ++teams;
    }
    std::string notice = Format("%d ﾁｰﾑ、%d 人の選手を取り込みました。", teams, runners);
    if (!unplaced.empty()) notice += "\n空きのNoｶｰﾄﾞがなく取り込めなかったNo：" + numberList(unplaced);
    if (!cut.empty()) notice += "\n選手枠を超えた選手を取り込めなかったNo：" + numberList(cut);
    Dlg().ShowMessage(notice);
}

// The team a block row's "No" names: a number card, or an alias number offered to the
// first team whose card is not in the block. 0 skips the row; kNoFreeTeam when no
// team was left to take the alias.
int TCSVEntry::blockRowTeam(int n, std::vector<bool>& taken) {
    const int teamNum = MainForm->TeamNum;
    if (n >= 1 && n <= teamNum) {
        setTeamAlias(n, 0);
        return n;
    }
    if (n < 1) return 0;
    if (n >= kFirstTooLargeAlias) {
        Dlg().ShowMessage(Format("%d はｴﾘｱｽNoの値を超えています。", n));
        return 0;
    }
    int t = 1;
    while (t <= teamNum && taken[t]) ++t;
    if (t > teamNum) return kNoFreeTeam;
    if (Dlg().MessageDlg(Format("%d を Noｶｰﾄﾞ%d の ｴﾘｱｽNo として取込みますか？", n, t), MsgKind::Confirmation,
                         Btn::YesNo) != mrYes)
        return 0;
    taken[t] = true;
    setTeamAlias(t, n);
    return t;
}

// One alias names one team: another team holding it gives it up.
void TCSVEntry::setTeamAlias(int team, int alias) {
    StringGrid& g = MainForm->TeamEntryGrid;
    if (alias > 0)
        for (int u = 1; u <= MainForm->TeamNum; ++u)
            if (u != team && cellNumber(g, kTeamAliasCol, u) == alias) g.SetCells(kTeamAliasCol, u, "");
    g.SetCells(kTeamAliasCol, team, alias > 0 ? Format("%d", alias) : "");
}

// The reading under a name: the cell above, when that row is a reading row ("No" empty).
std::string TCSVEntry::kanaAbove(const StringGrid& grid, int col, int row) const {
    if (row < 1 || !Trim(grid.Cells(RangeC0, row - 1)).empty()) return {};
    return KeepSingleByteChars(TMainForm::ConvertTextWidth(grid.Cells(col, row - 1), 1));
}

int TCSVEntry::ImportRunnerRange(int team, int count, int rowOffset, int colOffset, int direction,
                                 const StringGrid& grid) {
    if (!editionInUse()) return 0;
    Transaction tx(RaceDb());
    // Records kept beyond a lowered leg count are no slots of this edition.
    const int lastSlot = MainForm->KukanNum + MainForm->HoketuNum;
    int stored = 0;
    LastBeyondSlots = 0;
    for (int i = 1; i <= count; ++i) {
        const int col = direction == 0 ? RangeC0 : RangeC0 + colOffset + i - 1;
        const int row = direction == 0 ? RangeR0 + i - 1 : RangeR0 + rowOffset;
        const int slot = getOpt.Checked() ? i - 1 : i;
        const std::string name = Trim(grid.Cells(col, row));
        if (slot > lastSlot) {
            if (!name.empty()) ++LastBeyondSlots;
            continue;
        }
        const std::string kana = direction == 1 ? kanaAbove(grid, col, row) : std::string();
        if (SetRunnerFromText(team, slot, name, kana)) ++stored;
    }
    tx.Commit();
    if (stored > 0) MainForm->MarkInputsChanged();
    return stored;
}

bool TCSVEntry::SetRunnerFromText(int team, int slot, const std::string& name, const std::string& kana) {
    if (!editionInUse()) return false;
    const std::string file = RunnerTableName(MainForm->TaikaiNo);
    if (!RaceDb().TableExists(file)) return false;
    std::string family, given, familyKana, givenKana;
    int year = 0;
    std::string text = Trim(name);
    if (!text.empty()) {
        year = takeSchoolYear(text);
        splitName(Trim(text), family, given);
        const size_t blank = kana.find(' ');
        familyKana = Trim(kana.substr(0, blank));
        givenKana = blank == std::string::npos ? std::string() : Trim(kana.substr(blank));
    }
    Query q = RaceDb().Prepare("UPDATE " + file +
                               " SET R_SEI=?2, R_MEI=?3, R_SEIKANA=?4, R_MEIKANA=?5, G_AGE=?6 WHERE Team_Kukan=?1");
    q.BindAll({Value(RunnerKey(team, slot)), runnerText(family), runnerText(given), runnerText(familyKana),
               runnerText(givenKana), Value(year)});
    return q.Exec() > 0;
}

std::string TCSVEntry::KeepSingleByteChars(const std::string& text) {
    std::u32string kept;
    for (char32_t c : ToU32(Trim(text))) {
        if (static_cast<int>(kept.size()) >= kMaxSingleBytes) break;
        if (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) kept += c;
    }
    return Trim(FromU32(kept));
}

std::string TCSVEntry::ToFullWidthSpaces(const std::string& text) { return ReplaceAll(text, " ", kFullWidthBlank); }
