#include "database/RunnerKeys.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/TableEngine.h"

#include <algorithm>
#include <set>

namespace {

// A lookup runs per team and leg from every output, so it is one step of a statement
// the engine keeps prepared; a missing table is the one failure that means "no record".
std::optional<Query> prepareOnRunners(Database& db, const std::string& file, const std::string& sql) {
    try {
        return db.Prepare(sql);
    } catch (const DbError&) {
        if (db.TableExists(file)) throw;
        return std::nullopt;
    }
}

void requireDistinct(const std::vector<RunnerKeyMove>& moves) {
    std::set<int> from, to;
    for (const RunnerKeyMove& m : moves)
        if (!from.insert(m.From).second || !to.insert(m.To).second)
            throw DbError("runner re-keying: a key appears twice among the moves");
}

bool keyTaken(Database& db, const std::string& file, int key) {
    Query q = db.Prepare("SELECT 1 FROM " + file + " WHERE Team_Kukan=?1");
    const bool taken = q.Bind(1, Value(key)).Step();
    q.Reset();
    return taken;
}

int smallestKey(Database& db, const std::string& file) {
    Query q = db.Prepare("SELECT MIN(Team_Kukan) FROM " + file);
    const int k = q.Step() ? q.Column(0).AsInteger() : 0;
    q.Reset();
    return k;
}

} // namespace

std::optional<RunnerRecord> ReadRunnerRecord(Database& db, const std::string& file, int key) {
    auto q = prepareOnRunners(db, file,
                              "SELECT R_SEI, R_MEI, R_SEIKANA, R_MEIKANA, G_AGE, REMARK FROM " + file +
                                  " WHERE Team_Kukan=?1");
    if (!q) return std::nullopt;
    q->Bind(1, Value(key));
    std::optional<RunnerRecord> r;
    if (q->Step())
        r = RunnerRecord{q->Column(0).AsString(), q->Column(1).AsString(),  q->Column(2).AsString(),
                         q->Column(3).AsString(), q->Column(4).AsInteger(), q->Column(5).AsInteger()};
    q->Reset();
    return r;
}

// The open edition's runner table; null while no edition is in use.
static Database* editionRunners(std::string& file) {
    if (!MainForm || MainForm->TaikaiNo < 1 || MainForm->DataFolder.empty()) return nullptr;
    file = RunnerTableName(MainForm->TaikaiNo);
    return &RaceDb();
}

std::optional<RunnerRecord> ReadRunnerRecord(int key) {
    if (const auto* scoped = ScopedRunnerRecords()) {
        const RunnerRecord* r = scoped->Find(key);
        return r ? std::optional<RunnerRecord>(*r) : std::nullopt;
    }
    std::string file;
    Database* db = editionRunners(file);
    return db ? ReadRunnerRecord(*db, file, key) : std::nullopt;
}

int MaxRemarkInKeyRange(Database& db, const std::string& file, int fromKey, int toKey) {
    auto q =
        prepareOnRunners(db, file, "SELECT MAX(REMARK) FROM " + file + " WHERE Team_Kukan BETWEEN ?1 AND ?2");
    if (!q) return 0;
    const int m = q->Bind(1, Value(fromKey)).Bind(2, Value(toKey)).Step() ? q->Column(0).AsInteger() : 0;
    q->Reset();
    return std::max(m, 0);
}

int MaxRemarkInKeyRange(int fromKey, int toKey) {
    if (const auto* scoped = ScopedRunnerRecords())
        return scoped->MaxRemark(fromKey, toKey);
    std::string file;
    Database* db = editionRunners(file);
    return db ? MaxRemarkInKeyRange(*db, file, fromKey, toKey) : 0;
}

void RekeyRunnerRecords(Database& db, const std::string& file, const std::vector<RunnerKeyMove>& moves) {
    requireDistinct(moves);
    const std::string update = "UPDATE " + file + " SET Team_Kukan=?1 WHERE Team_Kukan=?2";
    Transaction t(db);
    const int park = std::min(smallestKey(db, file), 0) - 1;
    std::vector<RunnerKeyMove> parked; // temporary key -> target
    for (size_t i = 0; i < moves.size(); ++i) {
        const int temp = park - static_cast<int>(i);
        if (db.Exec(update, {Value(temp), Value(moves[i].From)}) > 0) parked.push_back({temp, moves[i].To});
    }
    for (const RunnerKeyMove& p : parked) {
        if (keyTaken(db, file, p.To))
            throw DbError("runner re-keying: key " + std::to_string(p.To) + " is held by another runner");
        db.Exec(update, {Value(p.To), Value(p.From)});
    }
    t.Commit();
}

void SwapTeamRunners(Database& db, const std::string& file, int a, int b, int slotCount) {
    if (a == b) return;
    std::vector<RunnerKeyMove> moves;
    for (int s = 0; s < slotCount; ++s) {
        moves.push_back({RunnerKey(a, s), RunnerKey(b, s)});
        moves.push_back({RunnerKey(b, s), RunnerKey(a, s)});
    }
    RekeyRunnerRecords(db, file, moves);
}

void SwapTeamRunners(int a, int b) {
    OpenRunnerTable();
    SwapTeamRunners(RaceDb(), RunnerTableName(MainForm->TaikaiNo), a, b,
                    MainForm->KukanNum + MainForm->HoketuNum + 1);
}
