// The report work table: rebuilt whole in one transaction by each builder, its texts
// cut to 40 Shift-JIS bytes by the table engine's FixedChar fields.
#include "database/ReportTables.h"

#include "database/RaceFile.h"
#include "database/RankingQueries.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/KanaWidth.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <numeric>

namespace {

constexpr int kFieldSize = 40;
constexpr int kAliasCol = 3;

std::string trimLeft(const std::string& s) {
    const size_t p = s.find_first_not_of(' ');
    return p == std::string::npos ? std::string() : s.substr(p);
}

// Points tmpRepTable at the file and replaces the table with these fields; the rows
// are then written through one prepared insert inside the caller's transaction.
class ReportTableWriter {
  public:
    explicit ReportTableWriter(const std::vector<std::string>& fields) : db_(RaceDb()), tx_(db_) {
        Table& t = DataMdl->tmpRepTable;
        t.Close();
        t.SetTableName(kReportTable);
        std::vector<FieldDef> defs;
        std::string names, params;
        for (size_t i = 0; i < fields.size(); ++i) {
            defs.push_back({fields[i], FieldType::FixedChar, kFieldSize});
            names += (i ? ", " : "") + fields[i];
            params += (i ? ",?" : "?") + std::to_string(i + 1);
        }
        db_.CreateTable(kReportTable, defs, {});
        insert_ = db_.Prepare(std::string("INSERT INTO ") + kReportTable + " (" + names + ") VALUES (" +
                              params + ")");
        width_ = fields.size();
    }
    // Empty texts stay null, as a field never stored.
    void Append(const std::vector<std::string>& texts) {
        for (size_t i = 0; i < width_; ++i) {
            const std::string t = i < texts.size() ? TrimRight(CutSjis(texts[i], kFieldSize)) : std::string();
            insert_.Bind(static_cast<int>(i) + 1, t.empty() ? Value() : Value(t));
        }
        insert_.Exec();
    }
    void Commit() {
        tx_.Commit();
        DataMdl->tmpRepTable.Open();
    }

  private:
    Database& db_;
    Transaction tx_;
    Query insert_;
    size_t width_ = 0;
};

std::vector<std::string> numberedFields(const char* format, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(Format(format, i));
    return out;
}

// Overall view: the first row of a team block shows its class and class place.
std::string classLabel(const std::string& cell, bool allClasses, const std::vector<TeamWorkRec>& recs) {
    int team = 0;
    if (!allClasses || !TryStrToInt(Trim(cell), team) || team < 1 || team > MainForm->TeamNum) return {};
    const TeamWorkRec& w = recs[team - 1];
    return w.ClassPlace >= 1 ? Format("%c-%d", w.ClassLetter, w.ClassPlace) : std::string();
}

std::vector<std::string> reportRow(const StringGrid& g, int r, int mode, bool allClasses,
                                   const std::vector<TeamWorkRec>& recs) {
    std::vector<std::string> row;
    for (int c = 0; c < g.ColCount(); ++c) {
        std::string text = g.Cells(c, r);
        if ((mode != 0 && c == 2) || (mode == 0 && c == 0 && (r + 1) % 3 == 0))
            text = MapStringChars(text, kMapHalfWidth);
        if (mode == 0 && c == 0 && r % 3 == 1) text = classLabel(text, allClasses, recs);
        row.push_back(trimLeft(text));
    }
    if (mode != 0) {
        const TMainForm& f = *MainForm;
        const int team = f.FindTeamRowByAlias(StrToIntDef(g.Cells(1, r), 0));
        row.push_back(f.TeamFieldText(team, 1));
        row.push_back(f.RunnerKanaName(team, mode, 0));
    }
    return row;
}

// Refuses an alias that could be taken for a number card, or one past the last alias.
bool aliasAccepted(int team) {
    const std::string cell = Trim(MainForm->TeamEntryGrid.Cells(kAliasCol, team));
    if (cell.empty()) return true;
    const int alias = StrToIntDef(cell, 0);
    if (alias <= MainForm->TeamNum) {
        Dlg().ShowMessage("ｴﾘｱｽ番号は参加チーム数より大きくなければなりません。");
        return false;
    }
    if (alias > kMaxAlias) {
        Dlg().ShowMessage(Format("ｴﾘｱｽ番号は %d より小さくなければなりません。", kMaxAlias));
        return false;
    }
    return true;
}

std::vector<std::string> orderSheetRow(int team, int shown, int op) {
    TMainForm& f = *MainForm;
    std::vector<std::string> row{Format("%3d", shown), (op == 1 ? "※" : "") + f.TeamFieldText(team, 0)};
    for (int slot = 0; slot <= f.KukanNum + f.HoketuNum; ++slot)
        row.push_back(f.RunnerNameText(team, slot, 0));
    return row;
}

} // namespace

int BuildReportTable(int mode) {
    OutputReads reads; // a leg view's readings from one read of the runners
    TOutputForm& out = *OutputForm;
    const StringGrid& g = mode == 0 ? out.OutputTTLGrid : out.OutputGrid;
    std::vector<TeamWorkRec> recs;
    bool allClasses = false;
    if (mode == 0) {
        recs.resize(MainForm->TeamNum);
        allClasses = QueryGapRanking(recs);
    }
    std::vector<std::string> fields = numberedFields("TCol_%d", g.ColCount());
    if (mode != 0)
        for (const std::string& k : numberedFields("KANACol_%d", 2))
            fields.push_back(k);
    ReportTableWriter w(fields);
    for (int r = 1; r < g.RowCount(); ++r)
        w.Append(reportRow(g, r, mode, allClasses, recs));
    w.Commit();
    return 0;
}

int BuildOrderSheetTable() {
    OutputReads reads; // every team's runners from one read
    TMainForm& f = *MainForm;
    const int n = f.TeamNum;
    std::vector<int> shown(n), teams(n);
    std::iota(teams.begin(), teams.end(), 1);
    for (int t = 1; t <= n; ++t)
        shown[t - 1] = f.TeamAliasNumber(t);
    SortPairs(shown.data(), teams.data(), n);
    ReportTableWriter w(numberedFields("TCol_%d", f.KukanNum + f.HoketuNum + 3));
    for (int i = 0; i < n; ++i) {
        // An OP cell never set counts as running, as on the entry page.
        const int op = std::max(f.TeamOpValue(teams[i]), 0);
        if (op != 0 && op != 1) continue;
        if (!aliasAccepted(teams[i])) {
            w.Commit();
            return 1;
        }
        w.Append(orderSheetRow(teams[i], shown[i], op));
    }
    w.Commit();
    return 0;
}

bool IsValidNumberCard(int n) {
    const TMainForm& f = *MainForm;
    if (n < 1) return false;
    if (n <= f.TeamNum && Trim(f.TeamEntryGrid.Cells(kAliasCol, n)).empty()) return !f.IsAbsentTeam(n);
    for (int r = 1; r <= f.TeamNum; ++r) {
        const std::string alias = Trim(f.TeamEntryGrid.Cells(kAliasCol, r));
        if (!alias.empty() && StrToIntDef(alias, -1) == n) return !f.IsAbsentTeam(r);
    }
    return false;
}

ReportTableData LoadReportTable() {
    ReportTableData d;
    Database& db = RaceDb();
    for (const FieldDef& fd : db.Fields(kReportTable))
        d.Fields.push_back(fd.Name);
    Query q = db.Prepare(std::string("SELECT * FROM ") + kReportTable + " ORDER BY rowid");
    while (q.Step()) {
        std::vector<std::string> row;
        for (int i = 0; i < q.ColumnCount(); ++i)
            row.push_back(q.Column(i).AsString());
        d.Records.push_back(std::move(row));
    }
    q.Reset();
    return d;
}
