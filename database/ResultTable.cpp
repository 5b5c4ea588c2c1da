#include "database/ResultTable.h"

#include "database/PassingInput.h"

#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>

namespace {

constexpr const char* kFieldFormats[kFieldsPerLeg] = {"Ttime_%d",  "Ktime_%d",  "Tplace_%d",
                                                      "Kplace_%d", "Iplace_%d", "AdjSw_%d"};

std::vector<FieldDef> resultFields(int legs) {
    std::vector<FieldDef> fields{{"TeamID", FieldType::Integer, 0, true}};
    for (int k = 1; k <= legs; ++k)
        for (int f = 0; f < kFieldsPerLeg; ++f)
            fields.push_back({LegFieldName(static_cast<LegField>(f), k)});
    return fields;
}

unsigned bit(LegField f) {
    return 1u << static_cast<int>(f);
}

// Value slots (leg-major, as the table orders its fields) of the fields in the mask.
std::vector<int> slotsOf(int legs, unsigned mask) {
    std::vector<int> slots;
    for (int i = 0; i < legs * kFieldsPerLeg; ++i)
        if (mask & (1u << (i % kFieldsPerLeg))) slots.push_back(i);
    return slots;
}

std::string slotName(int slot) {
    return LegFieldName(static_cast<LegField>(slot % kFieldsPerLeg), slot / kFieldsPerLeg + 1);
}

// The slots' values are bound as ?2, ?3 ..., the team number as ?1.
std::string insertSql(const std::vector<int>& slots) {
    std::string names = "TeamID", params = "?1";
    for (size_t i = 0; i < slots.size(); ++i) {
        names += ", " + slotName(slots[i]);
        params += ",?" + std::to_string(i + 2);
    }
    return "INSERT INTO temptable.db (" + names + ") VALUES (" + params + ")";
}

std::string updateSql(const std::vector<int>& slots) {
    std::string sets;
    for (size_t i = 0; i < slots.size(); ++i)
        sets += (i ? ", " : "") + slotName(slots[i]) + "=?" + std::to_string(i + 2);
    return "UPDATE temptable.db SET " + sets + " WHERE TeamID=?1";
}

// The work table is derived data that every computation rebuilds, so its commits do
// not wait for the disk; the journal still keeps each one whole if the program dies.
void relaxSync(Database& db) {
    db.RelaxSync(kResultTable);
}

} // namespace

Table& ResultWorkTable() {
    relaxSync(RaceDb());
    Table& t = DataMdl->tmpTable;
    if (t.TableName() != kResultTable) {
        t.Close();
        t.SetTableName(kResultTable);
    }
    return t;
}

std::string LegFieldName(LegField field, int leg) {
    return Format(kFieldFormats[static_cast<int>(field)], leg);
}

// ---- ResultImage ----

ResultImage ResultImage::Load(Database& db, std::initializer_list<LegField> fields) {
    if (!db.TableExists(kResultTable)) return ResultImage(0);
    ResultImage img(static_cast<int>(db.Fields(kResultTable).size()) / kFieldsPerLeg);
    img.loaded_ = 0;
    for (LegField f : fields)
        img.loaded_ |= bit(f);
    if (fields.size() == 0) img.loaded_ = kAllFields;
    const std::vector<int> slots = slotsOf(img.legs_, img.loaded_);
    std::string sql = "SELECT TeamID";
    for (int slot : slots)
        sql += ", " + slotName(slot);
    Query q = db.Prepare(sql + " FROM temptable.db ORDER BY TeamID");
    std::vector<int> values(img.legs_ * kFieldsPerLeg);
    while (q.Step()) {
        for (size_t i = 0; i < slots.size(); ++i)
            values[slots[i]] = static_cast<int>(q.ColumnInt(static_cast<int>(i) + 1));
        img.AddRow(static_cast<int>(q.ColumnInt(0)), values);
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
    // Writing back a field kind writes it for every leg, so it must have been read.
    if (!(loaded_ & bit(field)))
        throw std::logic_error("work table field not loaded: " + LegFieldName(field, leg));
    int& v = values_[row][slot(field, leg)];
    if (v == value) return;
    v = value;
    changed_[row] = true;
    written_ |= bit(field);
}

void ResultImage::AddRow(int team, const std::vector<int>& values) {
    teams_.push_back(team);
    values_.push_back(values);
    values_.back().resize(legs_ * kFieldsPerLeg);
    changed_.push_back(true);
}

namespace {

bool sameLayout(Database& db, int legs) {
    return db.TableExists(kResultTable) &&
           static_cast<int>(db.Fields(kResultTable).size()) == 1 + legs * kFieldsPerLeg;
}

} // namespace

void ResultImage::CreateLayout(Database& db) const {
    relaxSync(db);
    if (!sameLayout(db, legs_)) db.CreateTable(kResultTable, resultFields(legs_), {"TeamID"});
}

void ResultImage::Create(Database& db) const {
    relaxSync(db);
    Transaction t(db);
    // A table of the same layout is emptied, any other replaced: either way it is rebuilt whole.
    if (sameLayout(db, legs_))
        db.Exec("DELETE FROM temptable.db");
    else
        db.CreateTable(kResultTable, resultFields(legs_), {"TeamID"});
    const std::vector<int> slots = slotsOf(legs_, kAllFields);
    writeRows(db, insertSql(slots), slots, false);
    t.Commit();
}

void ResultImage::SaveChanges(Database& db) {
    if (std::find(changed_.begin(), changed_.end(), true) == changed_.end()) return;
    relaxSync(db);
    Transaction t(db);
    const std::vector<int> slots = slotsOf(legs_, written_);
    writeRows(db, updateSql(slots), slots, true);
    t.Commit();
    std::fill(changed_.begin(), changed_.end(), false);
}

// Binds TeamID as ?1 and the slots' values as ?2, ?3 ... for every row (or every changed row).
void ResultImage::writeRows(Database& db, const std::string& sql, const std::vector<int>& slots,
                            bool changedOnly) const {
    Query q = db.Prepare(sql);
    for (int r = 0; r < Count(); ++r) {
        if (changedOnly && !changed_[r]) continue;
        q.Bind(1, Value(teams_[r]));
        for (size_t i = 0; i < slots.size(); ++i)
            q.Bind(static_cast<int>(i) + 2, Value(values_[r][slots[i]]));
        q.Exec();
    }
}

// ---- The computation's image ----

namespace {

// Written whole when the computation built it; only its changes when it was read
// from a kept table.
class HeldImage : public HeldWrite {
  public:
    HeldImage(std::shared_ptr<ResultImage> image, bool whole) : image_(std::move(image)), whole_(whole) {}
    void Write(Database& db) override { whole_ ? image_->Create(db) : image_->SaveChanges(db); }
    const std::shared_ptr<ResultImage>& Image() const { return image_; }

  private:
    std::shared_ptr<ResultImage> image_;
    bool whole_;
};

void holdImage(Database& db, std::shared_ptr<ResultImage> image, bool whole) {
    db.HoldWrite(kResultTable, std::make_unique<HeldImage>(std::move(image), whole));
}

} // namespace

std::shared_ptr<ResultImage> HeldComputationImage(Database& db) {
    const auto* held = dynamic_cast<const HeldImage*>(db.HeldWriteOf(kResultTable));
    return held ? held->Image() : nullptr;
}

std::shared_ptr<ResultImage> ComputationImage(Database& db) {
    if (auto image = HeldComputationImage(db)) return image;
    auto image = std::make_shared<ResultImage>(ResultImage::Load(db));
    if (image->Legs() > 0) holdImage(db, image, false);
    return image;
}

// ---- Team status ----

int TeamStatus(int team, bool classFilter) {
    const StringGrid& g = MainForm->TeamEntryGrid;
    const std::string filter = classFilter ? MainForm->GetClassFilter() : std::string();
    if (!filter.empty() && filter != UpperAscii(Trim(g.Cells(5, team)))) return 3;
    return StrToIntDef(g.Cells(4, team), 0);
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
// their initial values and so are never ranked at k. Row i holds team i + 1.
void writeLeg(ResultImage& img, const PassingReader& in, int k) {
    for (int team : in.Seen()) {
        img.Set(team, LegField::Iplace, k, in.Order(team));
        img.Set(team, LegField::Ttime, k, in.Total(team));
        img.Set(team, LegField::Tplace, k, in.Order(team));
        img.Set(team, LegField::AdjSw, k, in.AdjSw(team));
    }
}

// Leg times from the totals after relay point k was read; false when one was refused
// (the row's later legs are left). The pass runs after every leg read, and each run
// would go over all legs; only legs k and k + 1 can come out differently from the run
// before: earlier legs see the same totals and places (and a refusal can only fall
// away as ResultFinal turns false), later legs still hold their initial 0.
bool legTimePass(ResultImage& img, int k) {
    bool ok = true;
    for (int r = 0; r < img.Count(); ++r) {
        for (int j = k; j <= std::min(k + 1, img.Legs()); ++j) {
            const int cur = img.Get(r, LegField::Ttime, j);
            const int legTime = j >= 2 ? cur - img.Get(r, LegField::Ttime, j - 1) : cur;
            // A team that passed relay point j needs a total above 0 there, whatever the
            // corrections made of it.
            const int order = img.Get(r, LegField::Iplace, j);
            const bool passed = order >= 1 && order < NoPlace;
            const char* refusal = nullptr;
            if ((cur != 0 && legTime < 0) || (passed && cur <= 0))
                refusal = "ﾏｲﾅｽの区間記録が検出されました。\n%d区 TeamID=%d";
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

// The legs of the existing work table; -1 when there is none. One the engine cannot
// read is derived data: it is deleted, to be rebuilt, without a question.
int existingTableLegs(Table& t) {
    try {
        if (!t.Exists()) return -1;
        t.Open();
        const int legs = t.FieldCount() / kFieldsPerLeg;
        t.Close();
        return legs;
    } catch (const DbError&) {
        t.Close();
        DeleteTempTable();
        return -1;
    }
}

// False when the user keeps the existing table (it is left closed).
bool mayReplace(Table& t, int legs) {
    const int tableLegs = existingTableLegs(t);
    if (tableLegs < 0) return true;
    const bool asked = tableLegs >= legs;
    const bool yes = asked && Dlg().MessageDlg("処理はすでに実行されています\n再計算しますか ?",
                                               MsgKind::Confirmation, Btn::YesNo) == mrYes;
    return !asked || yes;
}

} // namespace

// The image is written when the table is next used, so the ranking passes that follow
// work on it in memory and the table is written once for the whole computation.
int BuildResultTable(int n) {
    MainForm->ResultFinal = true;
    std::optional<PassingReader> input;
    try {
        Database& db = RaceDb();
        Table& t = ResultWorkTable();
        t.Close();
        if (!mayReplace(t, n)) return 2;
        input.emplace(n, true);
        auto img = std::make_shared<ResultImage>(initialImage(n, MainForm->TeamNum));
        bool error = false;
        for (int k = 1; k <= n; ++k) {
            if (!input->ReadLeg(k)) error = true;
            writeLeg(*img, *input, k);
            if (!error && !legTimePass(*img, k)) error = true;
        }
        img->CreateLayout(db);
        t.Open();
        holdImage(db, std::move(img), true);
        return error ? 1 : 0;
    } catch (const std::exception& e) {
        ReportComputationFault(input ? input->Leg() : 0, input ? input->Row() : 0, e);
        return 1;
    }
}

// ---- Records and clean-up ----

// 0 also for a table the engine cannot read: it holds no results.
int ResultTableLegs() {
    Database& db = RaceDb();
    try {
        if (!db.TableExists(kResultTable)) return 0;
        return static_cast<int>(db.Fields(kResultTable).size()) / kFieldsPerLeg;
    } catch (const DbError&) {
        return 0;
    }
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

bool beatsRecord(int compare) {
    return compare == kNewRecord || compare == kNoRecordSet;
}

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

// The file goes even when the engine cannot read it: a damaged work table must not
// outlive the open that tries to clear it.
void DeleteTempTable() {
    try {
        ResultWorkTable().Close();
        RaceDb().DeleteTable(kResultTable);
    } catch (const std::exception&) {
        // No work table (or none that can go): the next computation replaces it.
    }
}
