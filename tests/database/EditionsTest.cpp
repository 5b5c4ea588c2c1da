#include "database/Editions.h"
#include "database/RaceFixture.h"
#include "mainwindow/TSelectDataForm.h"
#include "platform/Dates.h"
#include "platform/Text.h"

class Editions : public RaceFixture {
  protected:
    // Edition 4 with its own counts, names, record and blobs.
    void makeEditionFour() {
        openRace(3, 2, 5);
        TMainForm& f = form();
        f.TaikaiNo = 4;
        f.SourceTaikaiNo = 1;
        LoadOrAddTaikaiEdition(true);
        setCounts(3, 2, 5);
        f.taikaiBestGrid.SetCells(1, 1, "2009/01/04");
        f.taikaiBestGrid.SetCells(2, 1, "競技場");
        f.taikaiBestGrid.SetCells(3, 1, "21000");
        f.ReceName.SetText("第4回大会");
        f.OrgName.SetText("主催：協会");
        f.KukanInfGrid.SetCells(1, 1, "一区ゴール");
        f.InputGrid.SetCells(2, 2, "1000");
        kuriageGrid().SetCells(1, 1, "5000");
        ASSERT_TRUE(SaveTaikaiFields(false));
        dialogs.ClearLog();
    }
};

TEST_F(Editions, AddingCopiesTheSourceWithoutInputData) {
    makeEditionFour();
    TMainForm& f = form();
    setCounts(1, 1, 1);
    f.taikaiBestGrid.SetCells(2, 1, "");
    f.TaikaiNo = 5;
    f.SourceTaikaiNo = 4;
    LoadOrAddTaikaiEdition(true);
    EXPECT_EQ(dialogs.Joined(), "5 回大会を追加しました。");
    EXPECT_EQ(editionField("OP_DATE", 5).AsString(), DateToIso(Today()));
    EXPECT_EQ(editionField("K_NUM", 5).AsInteger(), 3);
    EXPECT_EQ(editionField("H_NUM", 5).AsInteger(), 2);
    EXPECT_EQ(editionField("E_NUM", 5).AsInteger(), 5);
    EXPECT_EQ(editionField("R_NAME", 5).AsString(), "第4回大会");
    EXPECT_EQ(editionField("O_NAME", 5).AsString(), "主催：協会");
    EXPECT_EQ(editionField("ST_PLACE", 5).AsString(), "競技場");
    EXPECT_EQ(editionField("TP_TIME", 5).AsInteger(), 21000);
    EXPECT_EQ(editionField("K_INF", 5).Raw(), editionField("K_INF", 4).Raw());
    EXPECT_EQ(editionField("K_INF", 5).Raw().size(), 132u);
    EXPECT_TRUE(editionField("R_INF", 5).Raw().empty());
    EXPECT_TRUE(editionField("F_TIME", 5).Raw().empty());
    EXPECT_FALSE(DataMdl->Query1.Active());

    // The new row is in the window.
    EXPECT_EQ(f.KukanSpinNum.Value(), 3);
    EXPECT_EQ(f.SankaSpinNum.Value(), 5);
    EXPECT_EQ(f.taikaiBestGrid.Row(1),
              (std::vector<std::string>{"5", DateToStr(Today()), "競技場", "21000"}));
    EXPECT_EQ(f.ReceName.Text(), "第4回大会");
}

// A source that cannot be read gives a new race's values, one message, no NULL field.
TEST_F(Editions, AddingFromAMissingSourceFillsEveryField) {
    openRace(3, 2, 5);
    TMainForm& f = form();
    f.TaikaiNo = 6;
    f.SourceTaikaiNo = 9;
    LoadOrAddTaikaiEdition(true);
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"大会情報がオープンできません。", "6 回大会を追加しました。"}));
    for (const char* field : {"IDN", "OP_DATE", "R_NAME", "O_NAME", "ST_PLACE", "TP_TIME", "K_NUM", "H_NUM",
                              "E_NUM", "K_INF", "R_INF", "F_TIME"})
        EXPECT_FALSE(editionField(field, 6).IsNull()) << field;
    for (const char* count : {"K_NUM", "H_NUM", "E_NUM"})
        EXPECT_EQ(editionField(count, 6).AsInteger(), 1) << count;
    EXPECT_EQ(editionField("R_NAME", 6).AsString(), f.DataFolder.filename().string());
    EXPECT_EQ(editionField("O_NAME", 6).AsString(), "");
    EXPECT_EQ(f.KukanSpinNum.Value(), 1);
    EXPECT_EQ(f.ReceName.Text(), f.DataFolder.filename().string());
}

TEST_F(Editions, ReopeningLoadsTheRowAndItsNames) {
    makeEditionFour();
    TMainForm& f = form();
    f.ReceName.SetText("unsaved");
    f.taikaiBestGrid.SetCells(1, 1, "");
    OpenTaikaiTable();
    EXPECT_EQ(f.taikaiBestGrid.Row(1), (std::vector<std::string>{"4", "2009/01/04", "競技場", "21000"}));
    EXPECT_EQ(f.ReceName.Text(), "第4回大会");
    EXPECT_EQ(f.OrgName.Text(), "主催：協会");
}

TEST_F(Editions, OpeningAMissingEditionChangesNothing) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.taikaiBestGrid.SetCells(2, 1, "そのまま");
    f.TaikaiNo = 9;
    LoadOrAddTaikaiEdition(false);
    EXPECT_EQ(f.KukanSpinNum.Value(), 2);
    EXPECT_EQ(f.SankaSpinNum.Value(), 3);
    EXPECT_EQ(f.taikaiBestGrid.Cells(2, 1), "そのまま");
    EXPECT_EQ(rowCount("大会情報.db"), 1);
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(Editions, ListIsInDateOrderWithTitles) {
    makeEditionFour(); // edition 4 on 2009/01/04, edition 1 today
    form().TaikaiNo = 2;
    form().SourceTaikaiNo = 1;
    LoadOrAddTaikaiEdition(true); // edition 2 also today: after 1 by number
    StringGrid& g = program->selectDataForm->getDataGrid;
    OpenEditionList(g);
    EXPECT_EQ(program->selectDataForm->Caption(), "実施大会選択");
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Row(0), (std::vector<std::string>{"回", "開催日", "大会名称"}));
    EXPECT_EQ(g.Row(1), (std::vector<std::string>{"4", "2009/01/04", "第4回大会"}));
    EXPECT_EQ(g.Cells(0, 2), "1");
    EXPECT_EQ(g.Cells(0, 3), "2");
    EXPECT_EQ(g.ColSample(1), "xx1999/12/12xxxx");
    EXPECT_EQ(g.ColSample(2), std::string(30, 'X'));
}

TEST_F(Editions, ByNumberReportsAMissingEdition) {
    openRace(1, 1, 1);
    OpenEditionByNumber(1);
    EXPECT_EQ(DataMdl->Query1.RecordCount(), 1);
    EXPECT_EQ(DataMdl->Query1.Field("R_NAME").AsString(), "race");
    OpenEditionByNumber(6);
    EXPECT_TRUE(DataMdl->Query1.IsEmpty());
    EXPECT_EQ(dialogs.Joined(), "大会情報がオープンできません。");
    CloseEditionQuery();
    EXPECT_FALSE(DataMdl->Query1.Active());
}

TEST_F(Editions, DeleteAsksFirst) {
    makeEditionFour();
    form().TaikaiNo = 4;
    dialogs.AnswerDlg(mrNo);
    DeleteEdition(4);
    EXPECT_EQ(rowCount("大会情報.db"), 2);
    EXPECT_EQ(dialogs.Joined(), "4 回の大会データを削除しても良いですか？\n元には戻せません");
    EXPECT_EQ(dialogs.LastKind(), MsgKind::Confirmation);
    dialogs.AnswerDlg(mrYes);
    DeleteEdition(4);
    EXPECT_EQ(rowCount("大会情報.db"), 1);
    EXPECT_TRUE(editionField("IDN", 4).IsNull());
    form().TaikaiNo = 4; // gone: no question
    DeleteEdition(4);
    EXPECT_EQ(dialogs.Texts().size(), 2u);
}

TEST_F(Editions, DateAndTitleTexts) {
    TMainForm& f = form();
    f.taikaiBestGrid.SetCells(1, 1, "2009/01/04");
    EXPECT_EQ(FormatOpDate(0), "2009/01/04");
    EXPECT_EQ(FormatOpDate(1), "2009年1月4日");
    EXPECT_EQ(FormatOpDate(2), "");
    f.taikaiBestGrid.SetCells(1, 1, "2009/1/4");
    EXPECT_EQ(FormatOpDate(0), "2009/01/04");
    f.taikaiBestGrid.SetCells(1, 1, "未定");
    EXPECT_EQ(FormatOpDate(0), "");

    f.ReceName.SetText("第10回" + std::string(40, 'x'));
    EXPECT_EQ(RaceTitleText(0), f.ReceName.Text());
    EXPECT_EQ(RaceTitleText(5), "第10"); // 6 bytes would split "回"
    EXPECT_EQ(SjisLength(RaceTitleText(40)), 40);
}
