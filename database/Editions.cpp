// Editions of a race: rows of the race file, one per holding of the race.
#include "database/Editions.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "platform/Dates.h"
#include "platform/Services.h"
#include "platform/StringGrid.h"
#include "platform/Text.h"

namespace {

TMainForm& mainForm() {
    return *MainForm;
}

std::string shortDate(const Value& iso) {
    const Date d = IsoToDate(iso.AsString());
    return d.IsNull() ? std::string() : DateToStr(d);
}

// Query1 on the race file of the open race.
DataQuery& editionQuery(const std::string& sql) {
    RaceDb();
    DataQuery& q = DataMdl->Query1;
    q.Close();
    q.SetSQL(sql);
    return q;
}

// The fields a new edition takes over from its source edition.
const char* const kCopiedFields[] = {"K_NUM",  "H_NUM",    "E_NUM",   "R_NAME",
                                     "O_NAME", "ST_PLACE", "TP_TIME", "K_INF"};

// A new race file's first row, for an edition whose source cannot be read: no field
// of the new row may stay NULL.
void setNewRaceFields(Table& t) {
    for (const char* count : {"K_NUM", "H_NUM", "E_NUM"})
        t.SetField(count, 1);
    t.SetField("R_NAME", mainForm().DataFolder.filename().string());
    t.SetField("O_NAME", "");
    t.SetField("ST_PLACE", "");
    t.SetField("TP_TIME", 0);
    t.WriteBlob("K_INF", "");
}

// Tables left under the number by a deleted edition would stand in for the copy
// from the source, and their waiting times would enter the new results.
void dropLeftoverTables(int taikaiNo) {
    for (Table* open : {&DataMdl->Table2, &DataMdl->Table3, &DataMdl->Table4})
        open->Close();
    Database& db = RaceDb();
    for (const std::string& file :
         {TeamTableName(taikaiNo), RunnerTableName(taikaiNo), DelayTableName(taikaiNo)})
        if (db.TableExists(file)) db.DeleteTable(file);
}

void appendFromSource(Table& t) {
    TMainForm& f = mainForm();
    Transaction tx(RaceDb());
    dropLeftoverTables(f.TaikaiNo);
    OpenEditionByNumber(f.SourceTaikaiNo);
    const DataQuery& src = DataMdl->Query1;
    // A source with counts out of range would hand them on: nothing is added from it.
    if (!src.IsEmpty()) CheckedEditionCounts(src.Field("K_NUM"), src.Field("H_NUM"), src.Field("E_NUM"));
    t.Append();
    t.SetField("IDN", f.TaikaiNo);
    t.SetField("OP_DATE", DateToIso(Today()));
    if (src.IsEmpty()) {
        setNewRaceFields(t);
    } else {
        for (const char* field : kCopiedFields)
            t.SetField(field, src.Field(field));
    }
    t.WriteBlob("R_INF", "");
    t.WriteBlob("F_TIME", "");
    t.Post();
    tx.Commit();
    t.Edit();
    CloseEditionQuery();
    Dlg().ShowMessage(Format("%d 回大会を追加しました。", f.TaikaiNo));
}

// The edition row of Table1 into the edition grid, the race name and the counts; the
// counts last, as their change handlers rebuild the grids.
void loadEditionRow(const Table& t) {
    TMainForm& f = mainForm();
    const EditionCounts n = CheckedEditionCounts(t.Field("K_NUM"), t.Field("H_NUM"), t.Field("E_NUM"));
    StringGrid& g = f.taikaiBestGrid;
    g.SetCellsQuiet(0, 1, Format("%d", t.FieldInt("IDN")));
    g.SetCellsQuiet(1, 1, shortDate(t.Field("OP_DATE")));
    g.SetCellsQuiet(2, 1, t.FieldStr("ST_PLACE"));
    g.SetCellsQuiet(3, 1, Format("%d", t.FieldInt("TP_TIME")));
    LoadRaceNames();
    f.SetEditionCounts(n.legs, n.subs, n.teams);
}

void fillEditionGrid(StringGrid& g, DataQuery& q) {
    g.SetColCount(3);
    g.SetRowCount(1 + q.RecordCount());
    g.SetFixedCols(0);
    g.SetFixedRows(1);
    const char* titles[] = {"回", "開催日", "大会名称"};
    const std::string samples[] = {"999999", "xx1999/12/12xxxx", std::string(30, 'X')};
    for (int c = 0; c < 3; ++c) {
        g.SetCellsQuiet(c, 0, titles[c]);
        g.SetColSample(c, samples[c]);
    }
    int r = 1;
    for (q.First(); !q.Eof(); q.Next(), ++r) {
        g.SetCellsQuiet(0, r, Format("%d", q.Field("IDN").AsInteger()));
        g.SetCellsQuiet(1, r, shortDate(q.Field("OP_DATE")));
        g.SetCellsQuiet(2, r, q.Field("R_NAME").AsString());
    }
    q.First();
}

} // namespace

void OpenEditionList(StringGrid& dataGrid) {
    OpenTaikaiTable();
    SelectDataForm->SetCaption("実施大会選択");
    // Editions of one date come in edition order.
    DataQuery& q = editionQuery("SELECT IDN, OP_DATE, R_NAME FROM 大会情報.db ORDER BY OP_DATE, IDN;");
    q.Open();
    fillEditionGrid(dataGrid, q);
}

void OpenEditionByNumber(int taikaiNo) {
    DataQuery& q = editionQuery("SELECT * FROM 大会情報.db WHERE IDN=?");
    q.Open({Value(taikaiNo)});
    if (q.IsEmpty()) Dlg().ShowMessage("大会情報がオープンできません。");
}

void CloseEditionQuery() {
    DataMdl->Query1.Close();
}

void LoadOrAddTaikaiEdition(bool add) {
    Table& t = RaceTable();
    if (t.FindKey({Value(mainForm().TaikaiNo)})) {
        t.Edit();
    } else if (add) {
        appendFromSource(t);
    } else {
        return;
    }
    loadEditionRow(t);
}

void DeleteEdition(int shownNo) {
    Table& t = RaceTable();
    if (!t.FindKey({Value(mainForm().TaikaiNo)})) return;
    const std::string question =
        Format("%d 回の大会データを削除しても良いですか？\n元には戻せません", shownNo);
    if (Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) == mrYes) t.Delete();
}

std::string FormatOpDate(int style) {
    Date d;
    if (!TryStrToDate(Trim(mainForm().taikaiBestGrid.Cells(1, 1)), d)) return {};
    if (style == 0) return Format("%04d/%02d/%02d", d.Year, d.Month, d.Day);
    if (style == 1) return Format("%d年%d月%d日", d.Year, d.Month, d.Day);
    return {};
}

std::string RaceTitleText(int maxBytes) {
    const std::string& name = mainForm().ReceName.Text();
    return maxBytes > 0 ? TMainForm::TruncateToBytes(name, maxBytes) : name;
}
