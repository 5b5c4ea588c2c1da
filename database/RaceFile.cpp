// The race file: the edition row with its blobs, and the lock file.
#include "database/RaceFile.h"

#include "database/Editions.h"
#include "database/EntryTables.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "platform/Dates.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// K_INF record: leg, goal name, distance (float32 km), leg record.
constexpr size_t kKukanRecSize = 44, kGoalNameAt = 4, kDistanceAt = 36, kLegRecordAt = 40;
constexpr size_t kGoalNameBytes = 32; // zero-terminated within the record
constexpr int kGoalNameKeep = kGoalNameStoredBytes; // longest name stored whole
constexpr int kGoalNameCut = 29;      // what a longer name is cut to
// R_INF record: leg, number as typed, passing order, passing time.
constexpr size_t kInputRecSize = 16, kNumberAt = 4, kTimeAt = 12;

TMainForm& mainForm() {
    return *MainForm;
}

std::vector<FieldDef> raceFields() {
    using T = FieldType;
    return {{"IDN", T::Integer, 0, true},
            {"OP_DATE", T::Date},
            {"R_NAME", T::FixedChar, 80},
            {"O_NAME", T::Memo},
            {"ST_PLACE", T::FixedChar, kStartPlaceBytes},
            {"TP_TIME", T::Integer},
            {"K_NUM", T::Smallint},
            {"H_NUM", T::Smallint},
            {"E_NUM", T::Smallint},
            {"K_INF", T::Bytes},
            {"R_INF", T::Bytes},
            {"F_TIME", T::Bytes}};
}

std::filesystem::path lockPath() {
    return mainForm().DataFolder / kLockFileName;
}

// A new race file with its first edition.
void createRaceTable(Table& t) {
    const TMainForm& f = mainForm();
    Transaction tx(*t.GetDatabase());
    t.CreateTable(raceFields(), {"IDN"});
    t.Open();
    t.Append();
    for (const char* count : {"K_NUM", "H_NUM", "E_NUM"})
        t.SetField(count, 1);
    t.SetField("IDN", 1);
    t.SetField("OP_DATE", DateToIso(Today()));
    t.SetField("R_NAME", f.NewTaikaiDir);
    t.SetField("O_NAME", "主催：");
    t.Post();
    tx.Commit();
}

// The edition row in edit state, for a blob writer; throws when the row is missing.
Table& editionRowForWrite() {
    if (!SeekEditionRow()) throw DbError(Format("%d 回の大会情報が見つかりません。", mainForm().TaikaiNo));
    Table& t = DataMdl->Table1;
    if (t.GetState() == Table::State::Browse) t.Edit();
    return t;
}

// Writes one blob of the edition row in its own transaction and clears the grid's dirty flag.
template <typename Build> void saveBlob(const char* field, StringGrid* dirty, Build build) {
    Transaction tx(RaceDb());
    Table& t = editionRowForWrite();
    t.WriteBlob(field, build(t.FieldInt("K_NUM"), t.FieldInt("E_NUM")));
    t.Post();
    tx.Commit();
    if (dirty) dirty->ClearModified();
}

// A blob of the edition row as the counts stored with it say it is long.
struct EditionBlob {
    int legs = 0, teams = 0;
    std::string bytes;
};

template <typename Size> EditionBlob loadBlob(const char* field, Size size) {
    EditionBlob b;
    try {
        if (!SeekEditionRow()) return b;
    } catch (const TableNotFound&) {
        return b;
    }
    const Table& t = DataMdl->Table1;
    const EditionCounts n = CheckedEditionCounts(t.Field("K_NUM"), t.Field("H_NUM"), t.Field("E_NUM"));
    b.legs = n.legs;
    b.teams = n.teams;
    b.bytes = t.ReadBlob(field);
    b.bytes.resize(size(b.legs, b.teams), '\0');
    return b;
}

size_t count(int n) {
    return n > 0 ? static_cast<size_t>(n) : 0;
}

int cellInt(const StringGrid& g, int col, int row) {
    return StrToIntDef(g.Cells(col, row), 0);
}

std::string goalNameBytes(const std::string& name) {
    std::string cut = SjisLength(name) > kGoalNameKeep ? CutSjis(name, kGoalNameCut) : name;
    std::string bytes = ToSjis(cut);
    bytes.resize(kGoalNameBytes, '\0');
    return bytes;
}

std::string zeroTerminated(const std::string& bytes, size_t at, size_t max) {
    const std::string field = bytes.substr(at, max);
    return field.substr(0, field.find('\0'));
}

std::string kukanRecords(int legs) {
    const StringGrid& g = mainForm().KukanInfGrid;
    std::string out;
    for (int k = 1; k <= legs; ++k) {
        PutInt32LE(out, cellInt(g, 0, k));
        out += goalNameBytes(g.Cells(1, k));
        PutFloat32LE(out, static_cast<float>(StrToFloatDef(g.Cells(2, k), 0)));
        PutInt32LE(out, cellInt(g, 3, k));
    }
    return out;
}

std::string inputRecords(int legs, int teams) {
    const StringGrid& g = mainForm().InputGrid;
    std::string out;
    out.reserve(count(legs) * count(teams) * kInputRecSize);
    for (int leg = 1; leg <= legs; ++leg) {
        for (int i = 1; i <= teams; ++i) {
            PutInt32LE(out, leg);
            PutInt32LE(out, cellInt(g, 2 * leg - 1, i + 1));
            PutInt32LE(out, i);
            PutInt32LE(out, cellInt(g, 2 * leg, i + 1));
        }
    }
    return out;
}

std::string kuriageRecords(int legs) {
    const StringGrid& g = FormKuriage->KuriageGrid;
    std::string out;
    for (int i = 1; i <= legs - 1; ++i)
        PutInt32LE(out, cellInt(g, 1, i));
    return out;
}

// The dirty flags a save clears, put back when the save is rolled back.
struct DirtyFlags {
    explicit DirtyFlags(TMainForm& f)
        : grids{&f.TeamEntryGrid, &f.KukanInfGrid, &f.InputGrid}, set{f.TeamEntryGrid.Modified(),
                                                                      f.KukanInfGrid.Modified(),
                                                                      f.InputGrid.Modified()} {}
    void Restore() const {
        for (int i = 0; i < 3; ++i)
            if (set[i]) grids[i]->SetModified(true);
    }
    StringGrid* grids[3];
    bool set[3];
};

void writeEditionFields(Table& t, const Date& opDate) {
    TMainForm& f = mainForm();
    const StringGrid& g = f.taikaiBestGrid;
    t.SetField("K_NUM", f.KukanSpinNum.Value());
    t.SetField("H_NUM", f.HoketuSpinNum.Value());
    t.SetField("E_NUM", f.SankaSpinNum.Value());
    t.SetField("IDN", f.TaikaiNo);
    if (!opDate.IsNull()) t.SetField("OP_DATE", DateToIso(opDate));
    if (!g.Cells(2, 1).empty()) t.SetField("ST_PLACE", g.Cells(2, 1));
    if (!g.Cells(3, 1).empty()) t.SetField("TP_TIME", cellInt(g, 3, 1));
    t.SetField("R_NAME", f.ReceName.Text());
    t.SetField("O_NAME", f.OrgName.Text());
}

// The edition row and, as the mode asks, the team rows and the blobs; one transaction.
void writeEdition(bool onlyDirty, const Date& opDate) {
    TMainForm& f = mainForm();
    Transaction tx(RaceDb());
    Table& t = editionRowForWrite();
    // Passing times are stored per team count: a new count rewrites them, or they shift legs.
    const bool teamCountChanged = t.FieldInt("E_NUM") != f.SankaSpinNum.Value();
    writeEditionFields(t, opDate);
    if (!onlyDirty || f.TeamEntryGrid.Modified()) SaveTeamRows();
    if (!onlyDirty || f.KukanInfGrid.Modified()) SaveKukanBlob();
    if (!onlyDirty || f.InputGrid.Modified() || teamCountChanged) SaveInputBlob();
    const bool kuriage = !onlyDirty || FormKuriage->FTimeDirty;
    if (kuriage) SaveKuriageBlob();
    editionRowForWrite();
    t.Post();
    tx.Commit();
    if (kuriage) FormKuriage->FTimeDirty = false;
}

} // namespace

void PutInt32LE(std::string& bytes, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    const char le[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                        static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
    bytes.append(le, 4);
}

void PutFloat32LE(std::string& bytes, float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    PutInt32LE(bytes, static_cast<int32_t>(u));
}

int32_t GetInt32LE(const std::string& bytes, size_t offset) {
    uint32_t u = 0;
    for (size_t i = 0; i < 4; ++i) {
        const size_t p = offset + i;
        const uint32_t b = p < bytes.size() ? static_cast<unsigned char>(bytes[p]) : 0;
        u |= b << (8 * i);
    }
    return static_cast<int32_t>(u);
}

float GetFloat32LE(const std::string& bytes, size_t offset) {
    const auto u = static_cast<uint32_t>(GetInt32LE(bytes, offset));
    float v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

EditionCounts CheckedEditionCounts(const Value& legs, const Value& subs, const Value& teams) {
    const auto checked = [](const Value& v, int max, const char* name) {
        // Only a stored integer is a count: a real number would be rounded to one.
        const long long n = v.AsInt64();
        if (v.kind() != Value::Kind::Int || n < 1 || n > max)
            throw std::runtime_error(Format("%s が正しくありません: ", name) + v.AsString());
        return static_cast<int>(n);
    };
    return {checked(legs, kMaxLegs, "区間数 (K_NUM)"), checked(subs, kMaxSubs, "補欠数 (H_NUM)"),
            checked(teams, kMaxTeams, "参加ﾁｰﾑ数 (E_NUM)")};
}

// ---- Lock file ----

bool LockFileOp(int op, std::string* error) {
    if (mainForm().DataFolder.empty()) return false;
    const auto p = lockPath();
    std::error_code ec;
    switch (op) {
    case 0:
        return std::filesystem::exists(std::filesystem::symlink_status(p, ec));
    case 1: {
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (error && errno != EEXIST) *error = std::strerror(errno);
            return false;
        }
        ::close(fd);
        return true;
    }
    case 2:
        return DeleteFileAt(p);
    default:
        return false;
    }
}

bool CreateLockFile(std::string* error) {
    return LockFileOp(1, error);
}

void ReleaseLockFile() {
    if (!LockFileOp(2) && LockFileOp(0)) Dlg().ShowMessage("ロックファイルを削除できませんでした。");
}

bool CheckLockOnOpen() {
    if (!LockFileOp(0)) return false;
    const std::string warning =
        std::string("その大会情報はロックされています。") + "\n他のユーザーが使用中の可能性があります。" +
        "\n\n「無視」を押せばﾛｯｸを解除できますが、" + "\n他のﾕｰｻﾞｰが使用中の場合は絶対に解除しないで下さい。";
    if (Dlg().MessageDlg(warning, MsgKind::Warning, Btn::OKIgnore) == mrIgnore &&
        Dlg().MessageDlg("本当にロックを解除してもいいですか？", MsgKind::Confirmation, Btn::YesNo) == mrYes)
        Dlg().ShowMessage(LockFileOp(2) ? "ロックを解除しました。" : "ロックの解除に失敗しました。");
    return true;
}

// ---- The race table and the edition row ----

DataQuery RaceQuery(const std::string& sql) {
    DataQuery q;
    q.SetDatabase(&RaceDb());
    q.SetSQL(sql);
    q.Open();
    return q;
}

Database& RaceDb() {
    const auto& folder = mainForm().DataFolder;
    if (folder.empty()) throw DbError("no race folder is set");
    DataMdl->SetFolder(folder);
    return *DataMdl->Db();
}

Table& RaceTable() {
    RaceDb();
    Table& t = DataMdl->Table1;
    if (!t.Active()) {
        t.SetTableName(Database::RaceFile);
        t.Open();
    }
    return t;
}

bool SeekEditionRow() {
    Table& t = RaceTable();
    const int no = mainForm().TaikaiNo;
    // An edit of the edition row in progress stays; anything else is looked up by the key.
    if (t.GetState() == Table::State::Edit && !t.Field("IDN").IsNull() && t.FieldInt("IDN") == no)
        return true;
    return t.FindKey({Value(no)});
}

void LoadRaceNames() {
    TMainForm& f = mainForm();
    const Table& t = DataMdl->Table1;
    f.ReceName.SetText(t.FieldStr("R_NAME"));
    f.OrgName.SetText(t.FieldStr("O_NAME"));
    f.ReceName.ClearModified();
    f.OrgName.ClearModified();
}

void OpenTaikaiTable() {
    TMainForm& f = mainForm();
    std::filesystem::path folder = f.DataFolder;
    if (!folder.has_filename()) folder = folder.parent_path();
    f.KisoTaikaiText.SetCaption(folder.filename().string());
    RaceDb();
    Table& t = DataMdl->Table1;
    t.Close();
    t.SetTableName(Database::RaceFile);
    try {
        t.Open();
    } catch (const TableNotFound&) {
        createRaceTable(t);
    }
    t.First();
    LoadRaceNames();
    LoadOrAddTaikaiEdition(false);
    t.Edit();
}

bool SaveTaikaiFields(bool onlyDirty) {
    TMainForm& f = mainForm();
    if (!f.TaikaiOpen) {
        Dlg().ShowMessage("オープンされていません");
        return false;
    }
    f.RestoreTaikaiNoCell();
    Date opDate;
    const std::string dateText = Trim(f.taikaiBestGrid.Cells(1, 1));
    if (!dateText.empty() && !TryStrToDate(dateText, opDate)) {
        Dlg().ShowMessage("開催日の日付が正しくありません。");
        return false;
    }
    const DirtyFlags dirty(f);
    bool saved = false;
    try {
        writeEdition(onlyDirty, opDate);
        saved = true;
        f.ReceName.ClearModified();
        f.OrgName.ClearModified();
    } catch (const std::exception& e) {
        dirty.Restore();
        Dlg().ShowException(e.what());
    }
    DataMdl->Table1.Close();
    return saved;
}

// ---- Blobs ----

void SaveKukanBlob() {
    saveBlob("K_INF", &mainForm().KukanInfGrid, [](int legs, int) { return kukanRecords(legs); });
}

void LoadKukanBlob() {
    TMainForm& f = mainForm();
    const EditionBlob b = loadBlob("K_INF", [](int legs, int) { return count(legs) * kKukanRecSize; });
    StringGrid& g = f.KukanInfGrid;
    for (int k = 1; k <= b.legs; ++k) {
        const size_t at = (k - 1) * kKukanRecSize;
        const std::string name = FromSjis(zeroTerminated(b.bytes, at + kGoalNameAt, kGoalNameBytes));
        if (!name.empty()) g.SetCellsQuiet(1, k, name);
        const float km = GetFloat32LE(b.bytes, at + kDistanceAt);
        g.SetCellsQuiet(2, k, FloatToStrG(km));
        g.SetCellsQuiet(3, k, Format("%d", GetInt32LE(b.bytes, at + kLegRecordAt)));
    }
    g.ClearModified();
    if (!DataMdl->Table2.Active()) LoadTeamsToGrid();
}

void SaveInputBlob() {
    saveBlob("R_INF", &mainForm().InputGrid, [](int legs, int teams) { return inputRecords(legs, teams); });
}

void LoadInputBlob() {
    StringGrid& g = mainForm().InputGrid;
    const EditionBlob b =
        loadBlob("R_INF", [](int legs, int teams) { return count(legs) * count(teams) * kInputRecSize; });
    GridUpdate update(g);
    size_t at = 0;
    for (int leg = 1; leg <= b.legs; ++leg) {
        for (int i = 1; i <= b.teams; ++i, at += kInputRecSize) {
            const int number = GetInt32LE(b.bytes, at + kNumberAt), time = GetInt32LE(b.bytes, at + kTimeAt);
            if (number != 0) g.SetCellsQuiet(2 * leg - 1, i + 1, IntToStr(number));
            if (time != 0) g.SetCellsQuiet(2 * leg, i + 1, IntToStr(time));
        }
    }
    g.ClearModified();
}

void SaveKuriageBlob() {
    saveBlob("F_TIME", nullptr, [](int legs, int) { return kuriageRecords(legs); });
}

void LoadKuriageBlob() {
    const int legs = mainForm().KukanNum;
    StringGrid& g = FormKuriage->KuriageGrid;
    FormKuriage->SetupKuriageGrid(g, legs);
    const EditionBlob b = loadBlob("F_TIME", [](int stored, int) { return count(stored - 1) * 4; });
    for (int i = 1; i <= legs - 1; ++i) {
        const int v = GetInt32LE(b.bytes, (i - 1) * 4);
        g.SetCellsQuiet(1, i, v != 0 ? Format("%d", v) : std::string());
    }
    g.ClearModified();
    FormKuriage->FTimeDirty = false;
}
