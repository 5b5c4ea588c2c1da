#include "database/ResultTable.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "database/TeamNumbers.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace {

constexpr const char* kFieldFormats[kFieldsPerLeg] = {"Ttime_%d", "Ktime_%d", "Tplace_%d",
                                                      "Kplace_%d", "Iplace_%d", "AdjSw_%d"};
constexpr int kMaxTypedNumber = 999; // numbers as typed: cards and aliases

std::vector<FieldDef> resultFields(int legs) {
    std::vector<FieldDef> fields{{"TeamID", FieldType::Integer, 0, true}};
    for (int k = 1; k <= legs; ++k)
        for (int f = 0; f < kFieldsPerLeg; ++f) fields.push_back({LegFieldName(static_cast<LegField>(f), k)});
    return fields;
}

std::string columnList(int legs) {
    std::string cols = "TeamID";
    for (const FieldDef& f : resultFields(legs)) cols += f.Name == "TeamID" ? "" : ", " + f.Name;
    return cols;
}

std::string assignmentList(int legs) {
    std::string sets;
    int p = 1;
    for (const FieldDef& f : resultFields(legs))
        if (f.Name != "TeamID") sets += (sets.empty() ? "" : ", ") + f.Name + "=?" + std::to_string(++p);
    return sets;
}

} // namespace

Table& ResultWorkTable() {
    RaceDb();
    Table& t = DataMdl->tmpTable;
    if (t.TableName() != kResultTable) {
        t.Close();
        t.SetTableName(kResultTable);
    }
    return t;
}

std::string LegFieldName(LegField field, int leg) { return Format(kFieldFormats[static_cast<int>(field)], leg); }

// ---- ResultImage ----

ResultImage ResultImage::Load(Database& db) {
    if (!db.TableExists(kResultTable)) return ResultImage(0);
    ResultImage img(static_cast<int>(db.Fields(kResultTable).size()) / kFieldsPerLeg);
    Query q = db.Prepare("SELECT " + columnList(img.legs_) + " FROM temptable.db ORDER BY TeamID");
    const int width = img.legs_ * kFieldsPerLeg;
    std::vector<int> values(width);
    while (q.Step()) {
        for (int i = 0; i < width; ++i) values[i] = q.Column(i + 1).AsInteger();
        img.AddRow(q.Column(0).AsInteger(), values);
    }
    q.Reset();
    std::fill(img.changed_.begin(), img.changed_.end(), false);
    return img;
}

int ResultImage::RowOfTeam(int team) const {
    // Rows are inserted in team order, so the team is normally at its own index.
    if (team >= 1 && team <= Count() && teams_[team - 1] == team) return team - 1;
    auto it = std::find(teams_.begin(), teams_.end(), team);
    return it == teams_.end() ? -1 : static_cast<int>(it - teams_.begin());
}

void ResultImage::Set(int row, LegField field, int leg, int value) {
    int& v = values_[row][slot(field, leg)];
    if (v == value) return;
    v = value;
    changed_[row] = true;
}

void ResultImage::AddRow(int team, const std::vector<int>& values) {
    teams_.push_back(team);
    values_.push_back(values);
    values_.back().resize(legs_ * kFieldsPerLeg);
    changed_.push_back(true);
}

void ResultImage::Create(Database& db) const {
    Transaction t(db);
    if (db.TableExists(kResultTable)) db.DeleteTable(kResultTable);
    db.CreateTable(kResultTable, resultFields(legs_), {"TeamID"});
    std::string params = "?1";
    for (int i = 2; i <= 1 + legs_ * kFieldsPerLeg; ++i) params += ",?" + std::to_string(i);
    Query q = db.Prepare("INSERT INTO temptable.db (" + columnList(legs_) + ") VALUES (" + params + ")");
    for (int r = 0; r < Count(); ++r) {
        q.Bind(1, Value(teams_[r]));
        for (int i = 0; i < legs_ * kFieldsPerLeg; ++i) q.Bind(i + 2, Value(values_[r][i]));
        q.Exec();
    }
    t.Commit();
}

void ResultImage::SaveChanges(Database& db) {
    if (std::find(changed_.begin(), changed_.end(), true) == changed_.end()) return;
    Transaction t(db);
    Query q = db.Prepare("UPDATE temptable.db SET " + assignmentList(legs_) + " WHERE TeamID=?1");
    for (int r = 0; r < Count(); ++r) {
        if (!changed_[r]) continue;
        q.Bind(1, Value(teams_[r]));
        for (int i = 0; i < legs_ * kFieldsPerLeg; ++i) q.Bind(i + 2, Value(values_[r][i]));
        q.Exec();
    }
    t.Commit();
    std::fill(changed_.begin(), changed_.end(), false);
}

// ---- Team status and waiting times ----

int TeamStatus(int team) {
    const StringGrid& g = MainForm->TeamEntryGrid;
    const std::string filter = MainForm->GetClassFilter();
    if (!filter.empty() && filter != UpperAscii(Trim(g.Cells(5, team)))) return 3;
    return StrToIntDef(g.Cells(4, team), 0);
}

void WaitingTimes::Load() {
    sums_.clear();
    OpenDelayTable();
    Table& t = DataMdl->Table4;
    std::vector<std::vector<int>> perLeg(kMaxTypedNumber + 1);
    for (t.First(); !t.Eof(); t.Next()) {
        const int key = t.FieldInt("Kukan_Team");
        if (key < 1000) continue; // no leg 0
        const int leg = key / 1000, number = WaitingNumber(key, leg);
        auto& legs = perLeg[number];
        if (static_cast<int>(legs.size()) <= leg) legs.resize(leg + 1);
        legs[leg] += MainForm->TimeDigitsToSeconds(t.FieldInt("DTIME"));
    }
    t.Close();
    for (auto& legs : perLeg)
        for (size_t k = 1; k < legs.size(); ++k) legs[k] += legs[k - 1];
    sums_ = std::move(perLeg);
}

int WaitingTimes::Sum(int leg, int number) const {
    if (number < 0 || number >= static_cast<int>(sums_.size()) || leg < 1) return 0;
    const std::vector<int>& legs = sums_[number];
    if (legs.empty()) return 0;
    return legs[std::min<size_t>(leg, legs.size() - 1)];
}

int TMainForm::SumWaitingTime(int leg, int number) {
    WaitingTimes w;
    w.Load();
    return w.Sum(leg, number);
}

// ---- Reading the input grid ----

PassingReader::PassingReader(int legs, bool announcePartial)
    : legs_(legs), announcePartial_(announcePartial), teams_(MainForm->TeamNum), adj_(teams_), total_(teams_),
      order_(teams_), adjSw_(teams_), seenRow_(teams_) {
    waiting_.Load();
}

bool PassingReader::ReadLeg(int k) {
    leg_ = k;
    row_ = 0;
    const int kind = MainForm->GetKuriageKind(k);
    if (kind == 2 && k != legs_) OutputForm->RestartCorrected = true;
    seen_.clear();
    std::fill(seenRow_.begin(), seenRow_.end(), 0);
    for (int r = 1; r <= teams_; ++r) {
        row_ = r;
        if (readRow(k, r, kind) == RowResult::Error) return false;
    }
    return true;
}

PassingReader::RowResult PassingReader::readRow(int k, int r, int kind) {
    const StringGrid& g = MainForm->InputGrid;
    const std::string numberText = Trim(g.Cells(2 * k - 1, r + 1));
    const std::string timeText = Trim(g.Cells(2 * k, r + 1));
    if (numberText.empty()) {
        if (r == 1) {
            Dlg().ShowMessage("空データです。");
            return RowResult::Error;
        }
        if (announcePartial_ && MainForm->ResultFinal) Dlg().ShowMessage("途中情報");
        MainForm->ResultFinal = false;
        return RowResult::Skipped;
    }
    if (timeText.empty()) {
        Dlg().ShowMessage(Format("通過ﾀｲﾑが空のﾁｰﾑが検出されました。\n%d 行目", r));
        return RowResult::Error;
    }
    const int number = StrToIntDef(numberText, 0);
    const int team = teamOfNumber(k, r, number);
    if (team < 0) return RowResult::Error;

    seenRow_[team] = r;
    seen_.push_back(team);
    const int passing = MainForm->TimeDigitsToSeconds(StrToIntDef(timeText, 0));
    total_[team] = adj_[team] + passing - waiting_.Sum(k, number);
    order_[team] = r;
    // The correction found here enters the totals of the following legs only.
    const int gap = MainForm->KuriageTimeGap(k, passing, kind);
    adj_[team] += gap;
    if (gap > 0) adjSw_[team] = 1;
    return RowResult::Taken;
}

// Team index of the typed number, or -1 after its message.
int PassingReader::teamOfNumber(int k, int r, int number) {
    int team = number - 1;
    if (number > teams_) {
        const int card = ConvertTeamNumber(number, false);
        if (card == -1) {
            Dlg().ShowMessage(Format("ｴﾘｱｽ番号が正しくありません。処理できませんでした。%d 区 %d行", k, r));
            return -1;
        }
        team = card - 1;
    }
    if (team < 0 || team >= teams_) {
        Dlg().ShowMessage(Format("そのﾅﾝﾊﾞｰｶｰﾄﾞはありません。\n%d 区 %d番", k, number));
        return -1;
    }
    if (seenRow_[team] != 0) {
        Dlg().ShowMessage(Format("ﾅﾝﾊﾞｰｶｰﾄﾞが重複しているか\n間違っています。\n%d 区 %d行", k, r));
        return -1;
    }
    return team;
}

void ReportComputationFault(int leg, int row) {
    Dlg().ShowMessage(Format("データにエラーがあります。処理できませんでした。%d 区 %d行", leg, row));
}

// ---- The computation ----

namespace {

ResultImage initialImage(int legs, int teams) {
    ResultImage img(legs);
    std::vector<int> values(legs * kFieldsPerLeg, 0);
    for (int t = 1; t <= teams; ++t) {
        const int status = TeamStatus(t);
        const int place = status == 2 || status == 3 ? OutOfRanking : NoPlace;
        for (int k = 1; k <= legs; ++k)
            for (LegField f : {LegField::Tplace, LegField::Kplace, LegField::Iplace})
                values[(k - 1) * kFieldsPerLeg + static_cast<int>(f)] = place;
        img.AddRow(t, values);
    }
    return img;
}

// Only the teams that passed relay point k are written there; the others keep
// their initial values and so are never ranked at k.
void writeLeg(ResultImage& img, const PassingReader& in, int k) {
    for (int team : in.Seen()) {
        img.Set(team, LegField::Iplace, k, in.Order(team));
        img.Set(team, LegField::Ttime, k, in.Total(team));
        img.Set(team, LegField::Tplace, k, in.Order(team));
        img.Set(team, LegField::AdjSw, k, in.AdjSw(team));
    }
}

// Leg times from the totals; false when one was refused (the row's later legs are left).
bool legTimePass(ResultImage& img) {
    bool ok = true;
    for (int r = 0; r < img.Count(); ++r) {
        for (int j = 1; j <= img.Legs(); ++j) {
            const int cur = img.Get(r, LegField::Ttime, j);
            const int legTime = j >= 2 ? cur - img.Get(r, LegField::Ttime, j - 1) : cur;
            const char* refusal = nullptr;
            if (cur != 0 && legTime < 0) refusal = "ﾏｲﾅｽの区間記録が検出されました。\n%d区 TeamID=%d";
            else if (j >= 2 && cur > 0 && legTime == 0 && MainForm->ResultFinal)
                refusal = "0秒の区間記録が検出されました。\n%d区 TeamID=%d";
            if (refusal) {
                Dlg().ShowMessage(Format(refusal, j, img.TeamID(r)));
                ok = false;
                break;
            }
            img.Set(r, LegField::Ktime, j, legTime);
        }
    }
    return ok;
}

// False when the user keeps the existing table (it is left closed).
bool mayReplace(Table& t, int legs) {
    if (!t.Exists()) return true;
    t.Open();
    const bool asked = t.FieldCount() / kFieldsPerLeg >= legs;
    const bool yes = asked && Dlg().MessageDlg("処理はすでに実行されています\n再計算しますか ?", MsgKind::Confirmation,
                                               Btn::YesNo) == mrYes;
    t.Close();
    return !asked || yes;
}

} // namespace

int BuildResultTable(int n) {
    MainForm->ResultFinal = true;
    std::optional<PassingReader> input;
    try {
        Table& t = ResultWorkTable();
        t.Close();
        if (!mayReplace(t, n)) return 2;
        input.emplace(n, true);
        ResultImage img = initialImage(n, MainForm->TeamNum);
        bool error = false;
        for (int k = 1; k <= n; ++k) {
            if (!input->ReadLeg(k)) error = true;
            writeLeg(img, *input, k);
            if (!error && !legTimePass(img)) error = true;
        }
        img.Create(*DataMdl->Db());
        t.Open();
        return error ? 1 : 0;
    } catch (const std::exception&) {
        ReportComputationFault(input ? input->Leg() : 0, input ? input->Row() : 0);
        return 1;
    }
}

// ---- Records and clean-up ----

int ResultTableLegs() {
    Database& db = RaceDb();
    if (!db.TableExists(kResultTable)) return 0;
    return static_cast<int>(db.Fields(kResultTable).size()) / kFieldsPerLeg;
}

namespace {

// MIN(field) over the rows whose place field is 1; 0 when there is none.
int bestOfWinners(const std::string& timeField, const std::string& placeField) {
    DataQuery& q = DataMdl->tmpQry;
    q.SetSQL("SELECT MIN(" + timeField + ") AS MinTime FROM temptable.db WHERE " + placeField + "=1");
    q.Open();
    const int best = q.IsEmpty() ? 0 : q.Field("MinTime").AsInteger();
    q.Close();
    return best;
}

bool beatsRecord(int compare) { return compare == kNewRecord || compare == kNoRecordSet; }

} // namespace

void UpdateRecordsFromResults() {
    const int tableLegs = ResultTableLegs();
    if (tableLegs == 0) return;
    const int N = MainForm->KukanNum;
    for (int k = 1; k <= std::min(N, tableLegs); ++k) {
        const int best = bestOfWinners(LegFieldName(LegField::Ktime, k), LegFieldName(LegField::Kplace, k));
        if (best > 10 && beatsRecord(CompareLegRecord(best, k)))
            MainForm->KukanInfGrid.SetCells(3, k, IntToStr(MainForm->SecondsToDigits(best)));
    }
    // The race record is the overall winner's total, and only a full race has one.
    if (tableLegs < N) return;
    const int best = bestOfWinners(LegFieldName(LegField::Ttime, N), LegFieldName(LegField::Tplace, N));
    if (best > 10 && beatsRecord(CompareTaikaiRecord(best, N)))
        MainForm->taikaiBestGrid.SetCells(3, 1, IntToStr(MainForm->SecondsToDigits(best)));
}

void DeleteTempTable() {
    try {
        Table& t = ResultWorkTable();
        if (!t.Exists()) return;
        t.Close();
        t.Open();
        t.Close();
        t.DeleteTable();
    } catch (const std::exception&) {
        // A stale work table is replaced by the next computation anyway.
    }
}
