#include "database/Ranking.h"

#include "database/EntryTables.h"
#include "database/PassingInput.h"
#include "database/RaceFile.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "database/TeamNumbers.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <optional>
#include <vector>

namespace {

// REMARK of every runner of the edition, read once per pass: the passes join the
// work table with the runner of leg k of each team (Team_Kukan = team * 100 + k).
// A team whose runners were never entered has no records; it still runs and is
// ranked, as a runner without a mark would be.
class RunnerRemarks {
  public:
    static constexpr int kNone = 0;

    void Load(Database& db, int teams) {
        remarks_.assign((teams + 1) * 100, kNone);
        const std::string table = RunnerTableName(MainForm->TaikaiNo);
        if (!db.TableExists(table)) return;
        // Only marked runners: a row without a mark reads as none.
        Query q = db.Prepare("SELECT Team_Kukan, REMARK FROM " + table + " WHERE REMARK <> 0");
        while (q.Step()) {
            const int key = q.Column(0).AsInteger();
            if (key >= 0 && key < static_cast<int>(remarks_.size())) remarks_[key] = q.Column(1).AsInteger();
        }
        q.Reset();
    }
    int Of(int team, int leg) const {
        const int key = team * 100 + leg;
        return key >= 0 && key < static_cast<int>(remarks_.size()) ? remarks_[key] : kNone;
    }
    // MaxRunnerRemark (team, leg) from the rows read: the largest REMARK of legs 1..leg, at least 0.
    int MaxUpTo(int team, int leg) const {
        int m = kNone;
        for (int k = 1; k <= leg; ++k)
            m = std::max(m, Of(team, k));
        return m;
    }

  private:
    std::vector<int> remarks_;
};

int lastTeam(const ResultImage& img) {
    return img.Count() ? img.TeamID(img.Count() - 1) : 0;
}

// Rows of the image that pass the test, ordered by the two fields of leg k
// (rows come in team order, so the team number is the last key).
template <class Test>
std::vector<int> selectRows(const ResultImage& img, int k, LegField first, LegField second, Test test) {
    struct Keyed {
        int first, second, row;
        bool operator<(const Keyed& o) const {
            return first != o.first ? first < o.first : second != o.second ? second < o.second : row < o.row;
        }
    };
    std::vector<Keyed> keyed;
    for (int r = 0; r < img.Count(); ++r)
        if (test(r)) keyed.push_back({img.Get(r, first, k), img.Get(r, second, k), r});
    std::sort(keyed.begin(), keyed.end());
    std::vector<int> rows;
    rows.reserve(keyed.size());
    for (const Keyed& e : keyed)
        rows.push_back(e.row);
    return rows;
}

// TeamStatus of every row, read from the team grid once per pass.
std::vector<int> teamStatuses(const ResultImage& img, bool classFilter = true) {
    std::vector<int> statuses;
    statuses.reserve(img.Count());
    for (int r = 0; r < img.Count(); ++r)
        statuses.push_back(TeamStatus(img.TeamID(r), classFilter));
    return statuses;
}

// Walks the rows in order with count, place and the previous key: a row takes its
// position unless its key equals the previous row's and mayShare lets it keep that place.
template <class MayShare>
void rankRows(ResultImage& img, const std::vector<int>& rows, int k, LegField key, LegField target,
              MayShare mayShare) {
    int count = 1, place = 1, previous = -1;
    for (int r : rows) {
        const int value = img.Get(r, key, k);
        if (value != previous || !mayShare(r)) place = count;
        previous = value;
        ++count;
        img.Set(r, target, k, place);
    }
}

// A query per team and leg would cost a statement each; the runner rows are read once instead.
void rankLegPlaces(ResultImage& img, const RunnerRemarks& runners, const std::vector<int>& statuses, int k) {
    const bool noRecordRunner = MainForm->HasNoRecordRunner;
    for (int r = 0; r < img.Count(); ++r) {
        const int team = img.TeamID(r);
        const int status = statuses[r];
        // An absent team, or one of another class, is out before any runner's mark
        // could make it an unplaced, counted team.
        if (status == 2 || status == 3)
            img.Set(r, LegField::Tplace, k, OutOfRanking);
        else if (status == 1 || (noRecordRunner && runners.MaxUpTo(team, k) >= 2))
            img.Set(r, LegField::Tplace, k, NoPlace);
    }
    const auto rows = selectRows(img, k, LegField::Tplace, LegField::Tplace,
                                 [&](int r) { return img.Get(r, LegField::Tplace, k) < NoPlace; });
    rankRows(img, rows, k, LegField::Tplace, LegField::Tplace, [](int) { return true; });
}

// Leg places of leg k: false when no team qualifies.
bool rankLegTime(ResultImage& img, const RunnerRemarks& runners, int k) {
    const auto rows = selectRows(img, k, LegField::Ktime, LegField::Tplace, [&](int r) {
        return img.Get(r, LegField::Tplace, k) < OutOfRanking && img.Get(r, LegField::Ktime, k) > 0 &&
               runners.Of(img.TeamID(r), k) < 1;
    });
    if (rows.empty()) return false;
    // Leg 1 gives equal times consecutive places in passing order; later legs share them.
    rankRows(img, rows, k, LegField::Ktime, LegField::Kplace, [k](int) { return k >= 2; });
    return true;
}

void rankAdjustedLeg(ResultImage& img, const RunnerRemarks& runners, int j) {
    const auto rows = selectRows(img, j, LegField::Ttime, LegField::Tplace, [&](int r) {
        return img.Get(r, LegField::Ktime, j) > 0 && img.Get(r, LegField::Tplace, j) < NoPlace &&
               runners.Of(img.TeamID(r), j) <= 1;
    });
    // Equal totals share a place only when the later team had an advanced-start correction.
    rankRows(img, rows, j, LegField::Ttime, LegField::Tplace,
             [&](int r) { return img.Get(r, LegField::AdjSw, j - 1) != 0; });
}

} // namespace

void SetTempField(int team, const std::string& field, int value) {
    Table& t = ResultWorkTable();
    t.Open();
    if (!t.FindKey(TeamIdKey(team))) {
        Dlg().ShowMessage(Format("そのゼッケンはありません。:%d", team));
        return;
    }
    t.Edit();
    t.SetField(field, Value(value));
    t.Post();
}

// The passes work on the computation's image; it reaches the table when the table is next used.
int RankLegPlaces(int leg) {
    Database& db = RaceDb();
    const auto img = ComputationImage(db);
    RunnerRemarks runners;
    if (MainForm->HasNoRecordRunner) runners.Load(db, lastTeam(*img));
    if (leg >= 1 && leg <= img->Legs()) rankLegPlaces(*img, runners, teamStatuses(*img), leg);
    return 0;
}

int RankLegTimes(int legs) {
    Database& db = RaceDb();
    const auto img = ComputationImage(db);
    RunnerRemarks runners;
    runners.Load(db, lastTeam(*img));
    const std::vector<int> statuses = teamStatuses(*img);
    int result = 0;
    for (int k = 1; k <= std::min(legs, img->Legs()); ++k) {
        rankLegPlaces(*img, runners, statuses, k);
        if (!rankLegTime(*img, runners, k)) result = 1;
    }
    return result;
}

ResultImage LegPlacesOfAllTeams(const ResultImage& table) {
    ResultImage img = table;
    RunnerRemarks runners;
    runners.Load(RaceDb(), lastTeam(img));
    const std::vector<int> statuses = teamStatuses(img, false);
    for (int k = 1; k <= img.Legs(); ++k) {
        // Each leg as the computation starts it: the passing order, no leg place yet.
        for (int r = 0; r < img.Count(); ++r) {
            const int order = img.Get(r, LegField::Iplace, k);
            const int unplaced = statuses[r] == 2 ? OutOfRanking : NoPlace;
            img.Set(r, LegField::Tplace, k, order < NoPlace ? order : unplaced);
            img.Set(r, LegField::Kplace, k, unplaced);
        }
        rankLegPlaces(img, runners, statuses, k);
        rankLegTime(img, runners, k);
    }
    return img;
}

int RankAdjustedLegs(int legs) {
    Database& db = RaceDb();
    const auto img = ComputationImage(db);
    RunnerRemarks runners;
    runners.Load(db, lastTeam(*img));
    for (int j = 2; j <= std::min(legs, img->Legs()); ++j)
        rankAdjustedLeg(*img, runners, j);
    return 0;
}

// Counted on the computation's image while it waits to be written; the table is not
// written for it.
int CountRankedTeams() {
    if (const auto img = HeldComputationImage(RaceDb())) {
        if (img->Legs() < 1) return 0;
        int n = 0;
        for (int r = 0; r < img->Count(); ++r)
            if (img->Get(r, LegField::Tplace, 1) < OutOfRanking) ++n;
        return n;
    }
    if (ResultTableLegs() < 1) return 0;
    Query q = RaceDb().Prepare("SELECT COUNT(*) FROM temptable.db WHERE TPlace_1<1000");
    const int n = q.Step() ? q.Column(0).AsInteger() : 0;
    q.Reset();
    return n;
}

int LoadPassingData(int legs) {
    std::optional<PassingReader> input;
    try {
        input.emplace(legs, false);
        bool error = false;
        for (int k = 1; k <= legs; ++k)
            if (!input->ReadLeg(k)) error = true;
        return error ? 1 : 0;
    } catch (const std::exception& e) {
        ReportComputationFault(input ? input->Leg() : 0, input ? input->Row() : 0, e);
        return 1;
    }
}
