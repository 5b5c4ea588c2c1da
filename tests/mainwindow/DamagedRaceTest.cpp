// Race folders damaged on purpose: an open either completes or leaves nothing open and
// writes nothing; failed writes are reported and never trap the desk.
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/TSelectDataForm.h"
#include "platform/Files.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/ChildProcess.h"
#include "support/ProgramFixture.h"
#include "support/RaceRoadScript.h"
#include "support/WaitingRows.h"

#include <map>

namespace fs = std::filesystem;

class DamagedRace : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        form().FormShow();
        ScriptRaceFolder(dialogs, "駅伝");
        form().MakeKeyNameExecute();
        // Edition 1 with 2 legs, 5 teams, names and passing times, saved and closed.
        openEdition();
        form().KukanSpinNum.SetValue(2);
        form().SankaSpinNum.SetValue(5);
        for (int t = 1; t <= 5; ++t) {
            form().TeamEntryGrid.SetCells(1, t, Format("チーム%d", t));
            form().InputGrid.SetCells(1, t + 1, Format("%d", t));
            form().InputGrid.SetCells(2, t + 1, Format("%d", 1000 + t));
        }
        AddWaitingRow(1, 2, 30);
        closeProgram();
        dialogs.ClearLog();
    }
    fs::path race() const { return home.path() / "tvnData" / "駅伝"; }
    fs::path lock() const { return race() / kLockFileName; }

    void openEdition() {
        ScriptOpenEdition(dialogs, race() / "大会情報.db", 1);
        form().OpenKeyNameExecute();
    }
    void closeProgram() {
        dialogs.AnswerDlg(mrYes);
        ASSERT_TRUE(form().FormClose());
        Start();
        form().FormShow();
    }
    // Every file of the race folder with its bytes.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const std::string& name : ListDir(race()))
            ReadFileBytes(race() / name, all[name]);
        return all;
    }
    void setEditionField(const std::string& field, const Value& v) {
        Database db(race());
        db.Exec("UPDATE 大会情報.db SET " + field + "=? WHERE IDN=1", {v});
    }
    std::string editionBlob(const std::string& field) {
        Database db(race());
        return db.Prepare("SELECT " + field + " FROM 大会情報.db WHERE IDN=1").All().at(0).at(0).Raw();
    }
    // The open stopped: nothing open, nothing locked, and a close asks nothing and writes nothing.
    void expectNothingOpen(const std::map<std::string, std::string>& before) {
        EXPECT_FALSE(form().TaikaiOpen);
        EXPECT_FALSE(DataMdl->HasFolder());
        EXPECT_FALSE(FileExists(lock()));
        EXPECT_EQ(form().TeamEntryGrid.Cells(1, 1), "");
        EXPECT_EQ(form().InputGrid.Cells(2, 2), "");
        EXPECT_FALSE(form().MainPage.Visible());
        EXPECT_TRUE(form().FormClose());
        EXPECT_EQ(files(), before);
    }
};

TEST_F(DamagedRace, TableFileThatIsNoDatabaseStopsTheOpenAndWritesNothing) {
    for (const std::string file : {"選手情報001.db", "チーム情報001.db", "待機情報001.db", "大会情報.db"}) {
        SCOPED_TRACE(file);
        std::string good;
        ReadFileBytes(race() / file, good);
        ASSERT_TRUE(WriteFileBytes(race() / file, std::string(4096, 'x')));
        const auto before = files();
        dialogs.ClearLog();
        if (file == "大会情報.db") {
            dialogs.AnswerDlg(mrYes); // the edition dialog never shows
            dialogs.AnswerFile((race() / file).string());
        } else {
            ScriptOpenEdition(dialogs, race() / "大会情報.db", 1);
        }
        form().OpenKeyNameExecute();
        const std::string shown = dialogs.Joined();
        EXPECT_NE(shown.find("大会情報を開けませんでした。\n" + (race() / file).string() +
                             " のオープンに失敗しました。\nfile is not a database"),
                  std::string::npos)
            << shown;
        EXPECT_EQ(shown.find("ATTACH"), std::string::npos); // the SQL goes to the log only
        expectNothingOpen(before);

        // With the file mended the same run opens the edition whole.
        ASSERT_TRUE(WriteFileBytes(race() / file, good));
        dialogs.ClearLog();
        openEdition();
        EXPECT_FALSE(dialogs.Saw("大会情報が開いたままです。\n一度ｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい。"));
        ASSERT_TRUE(form().TaikaiOpen);
        EXPECT_EQ(form().TeamNum, 5);
        EXPECT_EQ(form().TeamEntryGrid.Cells(1, 5), "チーム5");
        EXPECT_EQ(form().InputGrid.Cells(2, 6), "1005");
        closeProgram();
    }
}

TEST_F(DamagedRace, StoredCountsOutOfRangeStopTheOpen) {
    const struct {
        const char* field;
        Value value;
        const char* message;
        int saved; // the edition's own value, put back after each case
    } cases[] = {
        {"K_NUM", 0, "区間数 (K_NUM) が正しくありません: 0", 2},
        {"K_NUM", 51, "区間数 (K_NUM) が正しくありません: 51", 2},
        {"K_NUM", 2147483647, "区間数 (K_NUM) が正しくありません: 2147483647", 2},
        {"E_NUM", 250, "参加ﾁｰﾑ数 (E_NUM) が正しくありません: 250", 5},
        {"E_NUM", 4294967301LL, "参加ﾁｰﾑ数 (E_NUM) が正しくありません: 4294967301", 5}, // 5 in 32 bits
        {"H_NUM", 0, "補欠数 (H_NUM) が正しくありません: 0", 1},
        {"H_NUM", 21, "補欠数 (H_NUM) が正しくありません: 21", 1},
        // Stored as real numbers: rounded, they would size the grids and shift the times saved.
        {"E_NUM", 2.5, "参加ﾁｰﾑ数 (E_NUM) が正しくありません: 2.5", 5},
        {"K_NUM", 3.5, "区間数 (K_NUM) が正しくありません: 3.5", 2},
        {"H_NUM", 1.25, "補欠数 (H_NUM) が正しくありません: 1.25", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.value.AsString());
        setEditionField(c.field, c.value);
        const auto before = files();
        dialogs.ClearLog();
        openEdition();
        EXPECT_EQ(dialogs.Texts().back(), std::string("大会情報を開けませんでした。\n") + c.message);
        expectNothingOpen(before);
        setEditionField(c.field, Value(c.saved));
    }
    // Nor is a new edition made from an edition with such counts.
    setEditionField("K_NUM", Value(0));
    const auto before = files();
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerFile((race() / "大会情報.db").string());
    dialogs.AnswerModal([this](FormBase& f) {
        auto& d = static_cast<TSelectDataForm&>(f);
        dialogs.AnswerInput("2");
        d.cmdNew.Execute();
        return d.ModalResultValue();
    });
    dialogs.AnswerDlg(mrYes);
    form().OpenKeyNameExecute();
    EXPECT_EQ(dialogs.Texts().back(), "大会情報を開けませんでした。\n区間数 (K_NUM) が正しくありません: 0");
    expectNothingOpen(before);
}

// A blob shorter or longer than its counts say reads as far as it goes, missing bytes 0,
// with no message; the next save writes it at its right size.
TEST_F(DamagedRace, BlobsOfTheWrongLengthLoadAndAreSavedWhole) {
    const std::string rinf = editionBlob("R_INF");
    ASSERT_EQ(rinf.size(), 2u * 5 * 16);
    setEditionField("R_INF", Value::Bytes(rinf.substr(0, 3 * 16 + 8))); // teams 1-3 of leg 1, half of 4
    setEditionField("K_INF", Value::Bytes(std::string(2 * 44 + 100, '\0')));
    setEditionField("F_TIME", Value::Bytes(""));
    openEdition();
    ASSERT_TRUE(form().TaikaiOpen);
    EXPECT_FALSE(dialogs.Saw("大会情報を開けませんでした。")) << dialogs.Joined();
    EXPECT_EQ(form().InputGrid.Cells(2, 4), "1003");
    EXPECT_EQ(form().InputGrid.Cells(1, 5), "4"); // the number of record 4 was still there
    EXPECT_EQ(form().InputGrid.Cells(2, 5), "");  // its time was cut off
    closeProgram();
    EXPECT_EQ(editionBlob("R_INF").size(), 2u * 5 * 16);
    EXPECT_EQ(editionBlob("K_INF").size(), 2u * 44);
    EXPECT_EQ(editionBlob("F_TIME").size(), 4u);
}

// The child's limit on descriptors is what it holds already: the lock file cannot be made.
TEST_F(DamagedRace, LockFileThatCannotBeCreatedStopsTheOpen) {
    const auto before = files();
    program.reset();
    const std::string report = RunInChild([this] {
        Start();
        form().FormShow();
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerFile((race() / "大会情報.db").string());
        dialogs.AnswerModal([this](FormBase& f) {
            auto& d = static_cast<TSelectDataForm&>(f);
            d.getDataGridCellClick(1);
            dialogs.AnswerDlg(mrYes);
            d.cmdSelect.Execute();
            UseUpFileDescriptors();
            return d.ModalResultValue();
        });
        form().OpenKeyNameExecute();
        return dialogs.Joined() + Format("|open=%d|db=%d", form().TaikaiOpen, DataMdl->HasFolder());
    });
    EXPECT_NE(report.find("ロックファイルを作成できません。\n" + lock().string() + "\nToo many open files"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("ロックされています"), std::string::npos) << report;
    EXPECT_NE(report.find("|open=0|db=0"), std::string::npos) << report;
    EXPECT_EQ(files(), before);
    Start();
}

TEST_F(DamagedRace, SettingsFilesThatCannotBeWrittenAreReportedAndTheCloseGoesOn) {
    for (const fs::path& ini : {race() / "ini1.INI", program->IniPath()}) {
        ASSERT_TRUE(DeleteFileAt(ini));
        ASSERT_TRUE(CreateDir(ini));
    }
    openEdition();
    form().chk100.SetChecked(true);
    form().TeamEntryGrid.SetCells(1, 1, "新チーム");
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    EXPECT_TRUE(form().FormClose());
    EXPECT_TRUE(dialogs.Saw((race() / "ini1.INI").string() + "の保存に失敗しました。")) << dialogs.Joined();
    EXPECT_TRUE(dialogs.Saw(program->IniPath().string() + "の保存に失敗しました。")) << dialogs.Joined();
    EXPECT_FALSE(FileExists(lock()));
    Start();
    form().FormShow();
    openEdition();
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 1), "新チーム"); // the race data was saved first
}

// On a full disk the save fails; the desk chooses between staying and closing unsaved.
TEST_F(DamagedRace, FailedSaveAtCloseAsksToCloseWithoutSaving) {
    const auto before = files();
    program.reset();
    const std::string report = RunInChild([this] {
        Start();
        form().FormShow();
        openEdition();
        for (int t = 1; t <= 5; ++t)
            form().TeamEntryGrid.SetCells(1, t, std::string(30, 'W'));
        LimitFileSize(0);
        std::string out;
        for (int answer : {mrNo, mrYes}) {
            dialogs.AnswerDlg(mrYes);
            dialogs.AnswerDlg(answer);
            const bool closed = form().FormClose();
            out += Format("%d,%d|", closed, FileExists(lock()));
        }
        return out + dialogs.Joined();
    });
    EXPECT_EQ(report.substr(0, 8), "0,1|1,0|") << report; // No stays locked, Yes closes unlocked
    const std::string question = "保存できませんでした。保存せずに終了しますか？";
    EXPECT_NE(report.find(question), std::string::npos) << report;
    EXPECT_NE(report.find(question, report.find(question) + 1), std::string::npos) << report;
    EXPECT_NE(report.find("に失敗しました。"), std::string::npos) << report;
    EXPECT_EQ(files(), before);
    Start();
}
