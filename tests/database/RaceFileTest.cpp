#include "database/RaceFile.h"
#include "database/EntryTables.h"
#include "database/RaceFixture.h"
#include "platform/Dates.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string blobOf(const Value& v) {
    return v.Raw();
}

} // namespace

class RaceFileBlobs : public RaceFixture {
  protected:
    void fillThreeLegsFiveTeams() {
        openRace(3, 1, 5);
        TMainForm& f = form();
        const char* names[] = {"", "スタート中継", "中継", "ゴール"};
        const char* km[] = {"", "5.095", "2.5", "10"};
        const char* records[] = {"", "1234", "0", "3000"};
        for (int k = 1; k <= 3; ++k) {
            f.KukanInfGrid.SetCells(1, k, names[k]);
            f.KukanInfGrid.SetCells(2, k, km[k]);
            f.KukanInfGrid.SetCells(3, k, records[k]);
        }
        f.InputGrid.SetCells(3, 4, "105"); // leg 2, passing order 3: number 105
        f.InputGrid.SetCells(4, 4, "12345");
        f.InputGrid.SetCells(1, 2, "101");
        kuriageGrid().SetCells(1, 1, "123000");
        kuriageGrid().SetCells(1, 2, "-130000");
    }
};

TEST_F(RaceFileBlobs, LayoutsAreByteExact) {
    fillThreeLegsFiveTeams();
    ASSERT_TRUE(SaveTaikaiFields(false));

    const std::string kinf = blobOf(editionField("K_INF"));
    const std::string rinf = blobOf(editionField("R_INF"));
    const std::string ftime = blobOf(editionField("F_TIME"));
    EXPECT_EQ(kinf.size(), 132u);
    EXPECT_EQ(rinf.size(), 240u);
    EXPECT_EQ(ftime.size(), 8u);

    // Leg 2: number, "中継" zero-padded to 32 bytes, 2.5 as float32, record 0.
    EXPECT_EQ(hex(kinf.substr(44, 44)), "02000000"
                                        "92868c70" +
                                            std::string(56, '0') +
                                            "00002040"
                                            "00000000");
    // Leg 1's distance keeps its float32 bits: 5.095f.
    EXPECT_EQ(hex(kinf.substr(36, 4)), "3d0aa340");
    // Leg 2, passing order 3: (leg, number, row, time).
    EXPECT_EQ(hex(rinf.substr((5 + 2) * 16, 16)), "02000000"
                                                  "69000000"
                                                  "03000000"
                                                  "39300000");
    EXPECT_EQ(hex(rinf.substr(0, 16)), "01000000"
                                       "65000000"
                                       "01000000"
                                       "00000000");
    EXPECT_EQ(hex(ftime), "78e00100"
                          "3004feff");
}

TEST_F(RaceFileBlobs, LoadingPutsTheSavedGridsBack) {
    fillThreeLegsFiveTeams();
    ASSERT_TRUE(SaveTaikaiFields(false));
    TMainForm& f = form();
    for (StringGrid* g : {&f.KukanInfGrid, &f.InputGrid, &kuriageGrid()})
        for (int r = 1; r < g->RowCount(); ++r)
            for (int c = 1; c < g->ColCount(); ++c)
                g->SetCells(c, r, "");

    LoadKukanBlob();
    LoadInputBlob();
    LoadKuriageBlob();
    EXPECT_EQ(f.KukanInfGrid.Cells(1, 1), "スタート中継");
    EXPECT_EQ(f.KukanInfGrid.Cells(2, 1), "5.095");
    EXPECT_EQ(f.KukanInfGrid.Cells(3, 1), "1234");
    EXPECT_EQ(f.KukanInfGrid.Cells(3, 2), "0");
    EXPECT_EQ(f.KukanInfGrid.Cells(2, 3), "10");
    EXPECT_NEAR(f.TotalDistance(), 17.595, 1e-5);
    EXPECT_EQ(f.InputGrid.Cells(3, 4), "105");
    EXPECT_EQ(f.InputGrid.Cells(4, 4), "12345");
    EXPECT_EQ(f.InputGrid.Cells(2, 2), ""); // a zero time leaves the cell alone
    EXPECT_EQ(kuriageGrid().Cells(1, 2), "-130000");
    EXPECT_EQ(kuriageGrid().Cells(0, 2), "第2中継/第3出発");
    EXPECT_FALSE(f.KukanInfGrid.Modified());
    EXPECT_FALSE(f.InputGrid.Modified());
}

TEST_F(RaceFileBlobs, ShortBlobsReadAsZeros) {
    openRace(2, 1, 2);
    ASSERT_TRUE(SaveTaikaiFields(false));
    // The counts grow after the blobs were written: the missing records read as zeros.
    setCounts(4, 1, 2);
    {
        Transaction tx(RaceDb());
        ASSERT_TRUE(SeekEditionRow());
        Table& t = DataMdl->Table1;
        t.Edit();
        t.SetField("K_NUM", 4);
        t.Post();
        tx.Commit();
    }
    form().KukanInfGrid.SetCells(3, 4, "999");
    kuriageGrid().SetCells(1, 3, "5");
    LoadKukanBlob();
    LoadKuriageBlob();
    EXPECT_EQ(form().KukanInfGrid.Cells(3, 4), "0");
    EXPECT_EQ(form().KukanInfGrid.Cells(2, 4), "0");
    EXPECT_EQ(kuriageGrid().Cells(1, 3), "");
}

TEST_F(RaceFileBlobs, GoalNamesAreCutWholeCharacters) {
    openRace(4, 1, 1);
    TMainForm& f = form();
    const std::string thirty(30, 'a'), thirtyOne(31, 'b');
    const std::string straddle = std::string(28, 'c') + "あ" + "d"; // 31 bytes, a kanji at 29-30
    f.KukanInfGrid.SetCells(1, 1, thirty);
    f.KukanInfGrid.SetCells(1, 2, thirtyOne);
    f.KukanInfGrid.SetCells(1, 3, straddle);
    f.KukanInfGrid.SetCells(1, 4, "100%の%s");
    ASSERT_TRUE(SaveTaikaiFields(false));
    const std::string kinf = blobOf(editionField("K_INF"));
    auto nameAt = [&](int leg) {
        std::string field = kinf.substr((leg - 1) * 44 + 4, 32);
        return field.substr(0, field.find('\0'));
    };
    EXPECT_EQ(nameAt(1), thirty);
    EXPECT_EQ(nameAt(2), std::string(29, 'b'));
    EXPECT_EQ(nameAt(3), std::string(28, 'c'));
    EXPECT_EQ(FromSjis(nameAt(4)), "100%の%s");
    EXPECT_EQ(kinf[(3 - 1) * 44 + 4 + 28], '\0');
}

// ---- Lock file ----

class LockFile : public RaceFixture {
  protected:
    void SetUp() override {
        RaceFixture::SetUp();
        std::filesystem::create_directories(raceFolder());
        form().DataFolder = raceFolder();
    }
    std::filesystem::path lock() const { return raceFolder() / "mylock.$$$"; }
    static constexpr const char* kWarning =
        "その大会情報はロックされています。\n他のユーザーが使用中の可能性があります。"
        "\n\n「無視」を押せばﾛｯｸを解除できますが、"
        "\n他のﾕｰｻﾞｰが使用中の場合は絶対に解除しないで下さい。";
};

TEST_F(LockFile, CreateTestAndRelease) {
    EXPECT_FALSE(CheckLockOnOpen());
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_TRUE(CreateLockFile());
    EXPECT_TRUE(FileExists(lock()));
    EXPECT_FALSE(CreateLockFile()); // held already
    EXPECT_TRUE(LockFileOp(0));
    EXPECT_FALSE(LockFileOp(3));
    ReleaseLockFile();
    EXPECT_FALSE(FileExists(lock()));
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(LockFile, OkKeepsTheLockAndStopsTheOpen) {
    CreateLockFile();
    dialogs.AnswerDlg(mrOk);
    EXPECT_TRUE(CheckLockOnOpen());
    EXPECT_EQ(dialogs.Joined(), kWarning);
    EXPECT_EQ(dialogs.LastKind(), MsgKind::Warning);
    EXPECT_EQ(dialogs.LastButtons(), Btn::OKIgnore);
    EXPECT_TRUE(FileExists(lock()));
}

TEST_F(LockFile, IgnoreThenYesRemovesItButStillStops) {
    CreateLockFile();
    dialogs.AnswerDlg(mrIgnore);
    dialogs.AnswerDlg(mrYes);
    EXPECT_TRUE(CheckLockOnOpen());
    EXPECT_EQ(dialogs.Joined(),
              std::string(kWarning) + "|本当にロックを解除してもいいですか？|ロックを解除しました。");
    EXPECT_FALSE(FileExists(lock()));
    EXPECT_FALSE(CheckLockOnOpen()); // the open started again goes through
}

TEST_F(LockFile, ALockThatCannotBeDeletedIsReported) {
    // A folder in the lock's place cannot be deleted as a file (also not by root).
    std::filesystem::create_directories(lock() / "inside");
    dialogs.AnswerDlg(mrIgnore);
    dialogs.AnswerDlg(mrYes);
    EXPECT_TRUE(CheckLockOnOpen());
    EXPECT_TRUE(dialogs.Saw("ロックの解除に失敗しました。"));
    dialogs.ClearLog();
    ReleaseLockFile();
    EXPECT_EQ(dialogs.Joined(), "ロックファイルを削除できませんでした。");
}

// ---- The edition row and its saves ----

class RaceFileSave : public RaceFixture {};

TEST_F(RaceFileSave, NewRaceFileHasTheFirstEdition) {
    openRace(1, 1, 1);
    EXPECT_EQ(form().KisoTaikaiText.Caption(), "race");
    EXPECT_EQ(editionField("R_NAME").AsString(), "race");
    EXPECT_EQ(editionField("O_NAME").AsString(), "主催：");
    EXPECT_EQ(editionField("OP_DATE").AsString(), DateToIso(Today()));
    EXPECT_EQ(form().ReceName.Text(), "race");
    EXPECT_EQ(form().OrgName.Text(), "主催：");
    EXPECT_EQ(form().taikaiBestGrid.Cells(0, 1), "1");
    EXPECT_EQ(form().taikaiBestGrid.Cells(1, 1), DateToStr(Today()));
    EXPECT_EQ(rowCount("大会情報.db"), 1);
}

TEST_F(RaceFileSave, NothingOpenIsReported) {
    EXPECT_FALSE(SaveTaikaiFields(false));
    EXPECT_EQ(dialogs.Joined(), "オープンされていません");
}

TEST_F(RaceFileSave, FieldsCountsAndNamesAreWritten) {
    openRace(3, 2, 4);
    TMainForm& f = form();
    f.taikaiBestGrid.SetCells(1, 1, "2009/1/4");
    f.taikaiBestGrid.SetCells(2, 1, "市役所前");
    f.taikaiBestGrid.SetCells(3, 1, "21234");
    f.OrgName.SetLines({"主催：市", "後援：県"});
    ASSERT_TRUE(SaveTaikaiFields(false));
    EXPECT_EQ(editionField("K_NUM").AsInteger(), 3);
    EXPECT_EQ(editionField("H_NUM").AsInteger(), 2);
    EXPECT_EQ(editionField("E_NUM").AsInteger(), 4);
    EXPECT_EQ(editionField("OP_DATE").AsString(), "2009-01-04");
    EXPECT_EQ(editionField("ST_PLACE").AsString(), "市役所前");
    EXPECT_EQ(editionField("TP_TIME").AsInteger(), 21234);
    EXPECT_EQ(editionField("O_NAME").AsString(), "主催：市\r\n後援：県");
    EXPECT_EQ(rowCount("チーム情報001.db"), 4);
    EXPECT_FALSE(DataMdl->Table1.Active()); // the save closes the race table

    // The race name is cut to 80 bytes, never inside a double-byte character.
    f.ReceName.SetText(std::string(79, 'n') + "長い");
    ASSERT_TRUE(SaveTaikaiFields(true));
    EXPECT_EQ(editionField("R_NAME").AsString(), std::string(79, 'n'));
}

TEST_F(RaceFileSave, NameAndOrganiserSurviveCloseAndReopen) {
    openRace(2, 1, 2);
    form().ReceName.SetText("第5回 市民駅伝");
    form().OrgName.SetLines({"主催：市陸上競技協会", "共催：市"});
    ASSERT_TRUE(SaveTaikaiFields(false));
    Start();
    form().DataFolder = raceFolder();
    form().TaikaiNo = 1;
    OpenTaikaiTable();
    EXPECT_EQ(form().ReceName.Text(), "第5回 市民駅伝");
    EXPECT_EQ(form().OrgName.Lines(), (std::vector<std::string>{"主催：市陸上競技協会", "共催：市"}));
    EXPECT_EQ(form().KukanSpinNum.Value(), 2);
    EXPECT_EQ(form().SankaSpinNum.Value(), 2);
}

TEST_F(RaceFileSave, DirtyOnlyWritesTheChangedParts) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    ASSERT_TRUE(SaveTaikaiFields(false));
    f.KukanInfGrid.SetCells(1, 1, "東");
    f.InputGrid.SetCells(2, 2, "1500");
    kuriageGrid().SetCells(1, 1, "777");
    f.InputGrid.ClearModified(); // only the leg information is dirty
    ASSERT_TRUE(SaveTaikaiFields(true));
    EXPECT_EQ(blobOf(editionField("K_INF")).substr(4, 3), ToSjis("東") + '\0');
    EXPECT_EQ(GetInt32LE(blobOf(editionField("R_INF")), 12), 0);
    EXPECT_EQ(GetInt32LE(blobOf(editionField("F_TIME")), 0), 0);
    EXPECT_FALSE(f.KukanInfGrid.Modified());
}

TEST_F(RaceFileSave, NewTeamCountRewritesThePassingTimesAlsoWhenNotDirty) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.InputGrid.SetCells(3, 2, "2");
    f.InputGrid.SetCells(4, 2, "3000");
    ASSERT_TRUE(SaveTaikaiFields(false));
    setCounts(2, 1, 4);
    f.InputGrid.ClearModified();
    ASSERT_TRUE(SaveTaikaiFields(true));
    const std::string rinf = blobOf(editionField("R_INF"));
    EXPECT_EQ(editionField("E_NUM").AsInteger(), 4);
    ASSERT_EQ(rinf.size(), 2u * 4 * 16);
    // Leg 2 starts after four records of leg 1: its time stays with leg 2.
    EXPECT_EQ(GetInt32LE(rinf, 4 * 16 + 12), 3000);
    f.InputGrid.SetCells(4, 2, "");
    LoadInputBlob();
    EXPECT_EQ(f.InputGrid.Cells(4, 2), "3000");
}

TEST_F(RaceFileSave, BadDateWritesNothingAndKeepsTheFlags) {
    openRace(2, 1, 2);
    ASSERT_TRUE(SaveTaikaiFields(false));
    TMainForm& f = form();
    f.taikaiBestGrid.SetCells(1, 1, "2009/13/40");
    f.TeamEntryGrid.SetCells(1, 1, "新チーム");
    f.KukanSpinNum.SetValue(3);
    EXPECT_FALSE(SaveTaikaiFields(false));
    EXPECT_EQ(dialogs.Joined(), "開催日の日付が正しくありません。");
    EXPECT_EQ(editionField("K_NUM").AsInteger(), 2);
    EXPECT_EQ(sqlValue("SELECT T_NAME FROM チーム情報001.db WHERE NOCD=1").AsString(), "");
    EXPECT_TRUE(f.TeamEntryGrid.Modified());
}

TEST_F(RaceFileSave, CloseWithABadDateStaysOpenAndLocked) {
    openRace(2, 1, 2);
    TMainForm& f = form();
    ASSERT_TRUE(CreateLockFile());
    f.taikaiBestGrid.SetCells(1, 1, "昨日");
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerDlg(mrNo); // not closing without saving
    EXPECT_FALSE(f.FormClose());
    EXPECT_TRUE(dialogs.Saw("保存できませんでした。保存せずに終了しますか？"));
    EXPECT_TRUE(LockFileOp(0));
}

TEST_F(RaceFileSave, TheEditionCellNeverRenamesTheRow) {
    openRace(2, 1, 2);
    TMainForm& f = form();
    f.taikaiBestGrid.SetCells(0, 1, "7");
    f.taikaiBestGridExit();
    EXPECT_EQ(f.taikaiBestGrid.Cells(0, 1), "1");
    EXPECT_EQ(dialogs.Joined(), "回数は変更できません。");
    f.taikaiBestGrid.SetCells(0, 1, "8");
    dialogs.ClearLog();
    ASSERT_TRUE(SaveTaikaiFields(false));
    EXPECT_EQ(dialogs.Joined(), "回数は変更できません。");
    EXPECT_EQ(sqlValue("SELECT group_concat(IDN) FROM 大会情報.db").AsString(), "1");
    f.taikaiBestGridExit();
    EXPECT_EQ(dialogs.Texts().size(), 1u); // nothing to restore: no second message
}

TEST_F(RaceFileSave, AMissingEditionRowIsAnError) {
    openRace(2, 1, 2);
    form().TaikaiNo = 3; // no row of edition 3
    form().taikaiBestGrid.SetCellsQuiet(0, 1, "3");
    EXPECT_FALSE(SaveTaikaiFields(false));
    EXPECT_EQ(dialogs.Joined(), "3 回の大会情報が見つかりません。");
    EXPECT_EQ(rowCount("大会情報.db"), 1);
    EXPECT_EQ(editionField("K_NUM").AsInteger(), 1);
}

// ---- A save killed in the middle ----

namespace {

// Save number i stores 3 + i % 4 teams named "T<i>-<team>" and passing times i * 100 + team.
void fillState(TMainForm& f, int i, const std::function<void(int)>& setTeams) {
    setTeams(3 + i % 4);
    for (int t = 1; t <= f.TeamNum; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("T%d-%d", i, t));
        for (int leg = 1; leg <= f.KukanNum; ++leg)
            f.InputGrid.SetCells(2 * leg, t + 1, Format("%d", i * 100 + t));
    }
}

} // namespace

class RaceFileCrash : public RaceFixture {
  protected:
    std::function<void(int)> teams() {
        return [this](int n) {
            // Lowering over the last state's passings is asked; this desk agrees.
            if (n < form().TeamNum) dialogs.AnswerDlg(mrYes);
            setCounts(2, 1, n);
        };
    }

    [[noreturn]] void saveForever(int readyFd) {
        try {
            Start();
            openRace(2, 1, 3);
            for (int i = 1; i < 1000000; ++i) {
                fillState(form(), i, teams());
                // The parent's clock starts as the third save begins.
                if (i == 3 && write(readyFd, "x", 1) != 1) _exit(3);
                if (!SaveTaikaiFields(false)) _exit(2);
            }
        } catch (...) {
            _exit(4);
        }
        _exit(5);
    }

    // The stored state is whole: the passing times, the team count and the team rows
    // all come from one save.
    void expectOneWholeState() {
        Start();
        form().DataFolder = raceFolder();
        form().TaikaiNo = 1;
        const int n = editionField("E_NUM").AsInteger();
        const std::string rinf = blobOf(editionField("R_INF"));
        ASSERT_EQ(rinf.size(), static_cast<size_t>(2 * n * 16));
        const int save = GetInt32LE(rinf, 12) / 100;
        EXPECT_EQ(n, 3 + save % 4);
        for (int t = 1; t <= n; ++t) {
            EXPECT_EQ(GetInt32LE(rinf, (n + t - 1) * 16 + 12), save * 100 + t);
            EXPECT_EQ(sqlValue("SELECT T_NAME FROM チーム情報001.db WHERE NOCD=?", {Value(t)}).AsString(),
                      Format("T%d-%d", save, t));
        }
        program.reset();
    }
};

TEST_F(RaceFileCrash, AKilledSaveLeavesOneWholeState) {
    openRace(2, 1, 3);
    fillState(form(), 0, teams());
    ASSERT_TRUE(SaveTaikaiFields(false));
    program.reset(); // the child opens its own connection
    // Kills spread over the length of a save, which is mostly waiting for the disk.
    for (int delayUs : {0, 1000, 2500, 5000, 8000, 12000, 17000, 24000, 33000, 45000}) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            saveForever(ready[1]);
        }
        close(ready[1]);
        char c = 0;
        ASSERT_EQ(read(ready[0], &c, 1), 1) << "the saving child ended early";
        close(ready[0]);
        usleep(delayUs);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "child exit " << WEXITSTATUS(status);
        expectOneWholeState();
    }
}
