// The waiting information window's rows: loaded from and saved to the edition's
// waiting table for the relay point of the input grid's current column, and checked
// against the numbers typed at that relay point.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormDelayInf.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <set>

namespace {

constexpr int kMaxNumber = 999; // the waiting key holds numbers as typed up to here

// Numbers typed in the input grid's "No." column of the relay point.
std::set<int> typedNumbers(const StringGrid& in, int leg) {
    std::set<int> out;
    for (int r = in.FixedRows(); r < in.RowCount(); ++r)
        if (!Trim(in.Cells(2 * leg - 1, r)).empty()) out.insert(StrToIntDef(in.Cells(2 * leg - 1, r), 0));
    return out;
}

void layoutDelayGrid(StringGrid& g) {
    g.SetEditing(false); // off and on again: the editor shows the new cells
    for (int r = 0; r < g.RowCount(); ++r)
        g.ClearRow(r);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    g.SetCellsQuiet(0, 0, "Noｶｰﾄﾞ");
    g.SetCellsQuiet(1, 0, "待機ﾀｲﾑ");
    g.SetColSample(0, "XXXXXX");
    g.SetColSample(1, "XXXXXXXXXX");
    g.SetEditing(true);
}

} // namespace

void TMainForm::OpenDelayInfFormExecute() {
    if (LoadDelayGrid() == 0) Dlg().ShowModal(*FormDelayInf);
}

int TMainForm::LoadDelayGrid() {
    TFormDelayInf& d = *FormDelayInf;
    const int c = InputGrid.Col();
    const int leg = c / 2 + c % 2;
    d.DelayLeg = leg;
    // Column "順" gives relay point 0, which has no "No." column: refused the same way.
    if (leg < 1 || typedNumbers(InputGrid, leg).empty()) {
        Dlg().ShowMessage("Noｶｰﾄﾞが空です。");
        return 1;
    }
    StringGrid& g = d.DelayStringGrid;
    layoutDelayGrid(g);
    OpenDelayTable();
    DataQuery& q = DataMdl->tmpQry;
    q.SetSQL("SELECT * FROM " + DelayTableName(TaikaiNo) + " WHERE KUKAN = ?1 ORDER BY Kukan_Team");
    q.Open({Value(leg)});
    d.Lbl_KName.SetCaption(Format("%d区待機情報", leg));
    for (int n = 1; !q.Eof(); q.Next(), ++n) {
        g.SetRowCount(n + 2);
        g.SetCellsQuiet(0, n, IntToStr(WaitingNumber(q.Field("Kukan_Team").AsInteger(), leg)));
        g.SetCellsQuiet(1, n, IntToStr(q.Field("DTIME").AsInteger()));
    }
    q.Close();
    g.SetCurrent(0, 1);
    g.ClearModified();
    g.LayoutChanged();
    return 0;
}

// Each number must be one typed at the relay point, once, and fit the waiting key.
int TMainForm::CheckDelayGrid() const {
    const TFormDelayInf& d = *FormDelayInf;
    const StringGrid& g = d.DelayStringGrid;
    const std::set<int> typed = typedNumbers(InputGrid, d.DelayLeg);
    std::set<int> seen;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        if (Trim(g.Cells(0, r)).empty()) continue;
        const int n = StrToIntDef(g.Cells(0, r), 0);
        if (n < 1 || n > kMaxNumber || !typed.count(n) || !seen.insert(n).second) return -1;
    }
    return 0;
}

// The relay point's rows are replaced in one transaction: a failed save keeps the old ones.
// A record of the same key filed under another leg is taken over, not added twice.
void TMainForm::SaveDelayGrid() {
    const TFormDelayInf& d = *FormDelayInf;
    const StringGrid& g = d.DelayStringGrid;
    const int leg = d.DelayLeg;
    Database& db = RaceDb();
    Transaction tx(db);
    OpenDelayTable();
    const std::string table = DelayTableName(TaikaiNo);
    db.Exec("DELETE FROM " + table + " WHERE KUKAN=?1", {Value(leg)});
    Query update = db.Prepare("UPDATE " + table + " SET DTIME=?2, KUKAN=?3 WHERE Kukan_Team=?1");
    Query insert = db.Prepare("INSERT INTO " + table + " (Kukan_Team, DTIME, KUKAN) VALUES (?1, ?2, ?3)");
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        const std::string number = Trim(g.Cells(0, r)), time = Trim(g.Cells(1, r));
        if (number.empty() || time.empty()) continue;
        const std::vector<Value> values{Value(WaitingKey(leg, StrToIntDef(number, 0))), Value(StrToIntDef(time, 0)),
                                        Value(leg)};
        update.BindAll(values);
        if (update.Exec() == 0) {
            insert.BindAll(values);
            insert.Exec();
        }
    }
    DataMdl->Table4.Close();
    tx.Commit();
    MarkInputsChanged();
}
