#include "database/EntryTables.h"
#include "database/RaceFixture.h"
#include "mainwindow/PendingParts.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const char* kCheckFailed =
    "チーム番号が重複しているか、存在しない番号が含まれています。\n保存しません。\nフォームを閉じますか?";
using Rows = std::vector<std::pair<std::string, std::string>>;
using Record = std::vector<int>;
} // namespace

// Edition 1, three legs, five teams; the waiting window of a relay point.
class DelayInf : public RaceFixture {
  protected:
    void SetUp() override {
        RaceFixture::SetUp();
        openRace(3, 1, 5);
        form().OpenDelayInfForm.SetEnabled(true);
    }
    TFormDelayInf& d() { return *FormDelayInf; }
    StringGrid& grid() { return d().DelayStringGrid; }

    // Typing as the grid's editor does: every key through the handler, then Enter.
    void type(const std::string& text) {
        for (char ch : text + "\r") {
            char32_t key = static_cast<unsigned char>(ch);
            d().DelayStringGridKeyPress(key);
            if (key == Key::None) continue;
            const int c = grid().Col(), r = grid().CurRow();
            grid().SetCells(c, r, grid().Cells(c, r) + static_cast<char>(key));
        }
    }
    // Opens the window at the input grid's column, types the rows and closes it,
    // answering the close question with `answers` until it closes.
    void edit(int inputCol, const Rows& rows, const std::vector<int>& answers = {}) {
        dialogs.AnswerModal([this, rows, answers](FormBase&) {
            d().FormShow();
            for (const auto& [no, time] : rows) {
                type(no);
                type(time);
            }
            for (int a : answers) {
                dialogs.AnswerDlg(a);
                if (d().CloseWindow()) return d().ModalResultValue();
            }
            EXPECT_TRUE(d().CloseWindow());
            return d().ModalResultValue();
        });
        form().InputGrid.SetCurrent(inputCol, 2);
        form().OpenDelayInfForm.Execute();
    }
    std::vector<Record> records() {
        std::vector<Record> out;
        Query q = RaceDb().Prepare("SELECT Kukan_Team, DTIME, KUKAN FROM " + DelayTableName(1) +
                                   " ORDER BY Kukan_Team");
        while (q.Step())
            out.push_back({q.Column(0).AsInteger(), q.Column(1).AsInteger(), q.Column(2).AsInteger()});
        q.Reset();
        return out;
    }
    void typed(int leg, std::vector<std::string> numbers) {
        for (size_t i = 0; i < numbers.size(); ++i)
            form().InputGrid.SetCells(2 * leg - 1, static_cast<int>(i) + 2, numbers[i]);
    }
};

TEST_F(DelayInf, StoresCompleteRowsAndShowsThemAgain) {
    typed(2, {"12", "15"});
    edit(4, {{"12", "30"}, {"15", ""}, {"", "45"}});
    EXPECT_EQ(records(), (std::vector<Record>{{2012, 30, 2}}));
    EXPECT_EQ(grid().RowCount(), 5) << "Enter on the last time adds a row";

    // Reopened from the "No." column of the same relay point.
    std::vector<std::string> shown;
    dialogs.AnswerModal([&](FormBase&) {
        shown = {grid().Cells(0, 1),      grid().Cells(1, 1), IntToStr(grid().RowCount()),
                 d().Lbl_KName.Caption(), grid().Cells(0, 0), grid().Cells(1, 0)};
        EXPECT_EQ(d().DelayStringGridDrawCell(1, 1).Text, form().TimeToDisplayText("30"));
        d().CloseWindow();
        return d().ModalResultValue();
    });
    form().InputGrid.SetCurrent(3, 2);
    form().OpenDelayInfForm.Execute();
    EXPECT_EQ(shown, (std::vector<std::string>{"12", "30", "3", "2区待機情報", "Noｶｰﾄﾞ", "待機ﾀｲﾑ"}));
    EXPECT_EQ(records(), (std::vector<Record>{{2012, 30, 2}}));
}

// A record of the key filed under another leg (an older table) is taken over by the save.
TEST_F(DelayInf, ARecordOfTheKeyUnderAnotherLegIsEdited) {
    typed(2, {"12"});
    OpenDelayTable();
    RaceDb().Exec("INSERT INTO " + DelayTableName(1) + " (Kukan_Team, DTIME, KUKAN) VALUES (2012, 99, 3)");
    edit(4, {{"12", "30"}});
    EXPECT_EQ(records(), (std::vector<Record>{{2012, 30, 2}}));
}

TEST_F(DelayInf, NumbersNotTypedOnceAtTheRelayPointAskBeforeClosing) {
    typed(2, {"12", "15", "", "1000"});
    edit(4, {{"12", "30"}});
    // Twice, not typed there, 0 (every empty "No." cell) and one beyond the key's range.
    for (const char* second : {"12", "14", "0", "1000"}) {
        SCOPED_TRACE(second);
        dialogs.ClearLog();
        edit(4, {{"", ""}, {second, "45"}}, {mrNo, mrYes});
        EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{kCheckFailed, kCheckFailed}));
        EXPECT_EQ(records(), (std::vector<Record>{{2012, 30, 2}})) << "Yes closes without saving";
    }
}

TEST_F(DelayInf, ThreeDigitNumbersKeepTheirLeg) {
    typed(1, {"150"});
    typed(2, {"50"});
    edit(1, {{"150", "20"}});
    edit(3, {{"50", "10"}});
    EXPECT_EQ(records(), (std::vector<Record>{{1150, 20, 1}, {2050, 10, 2}}));
    dialogs.AnswerModal([&](FormBase&) {
        EXPECT_EQ(grid().Cells(0, 1), "150");
        d().CloseWindow();
        return 0;
    });
    form().InputGrid.SetCurrent(2, 2);
    form().OpenDelayInfForm.Execute();
}

TEST_F(DelayInf, IsRefusedWithoutNumbersAtTheRelayPoint) {
    typed(1, {"3"});
    for (int col : {0, 3}) { // "順" is no relay point; leg 2 has no numbers yet
        dialogs.ClearLog();
        form().InputGrid.SetCurrent(col, 2);
        form().OpenDelayInfForm.Execute();
        EXPECT_EQ(dialogs.Joined(), "Noｶｰﾄﾞが空です。");
    }
}

TEST_F(DelayInf, EnterWalksNumberTimeAndTheNextRow) {
    typed(1, {"3"});
    dialogs.AnswerModal([&](FormBase&) {
        type("3");
        EXPECT_EQ(std::make_pair(grid().Col(), grid().CurRow()), std::make_pair(1, 1));
        type("1234567");
        EXPECT_EQ(grid().Cells(1, 1), "1234567");
        char32_t more = U'8', back = Key::Backspace, letter = U'a';
        d().DelayStringGridKeyPress(more);
        d().DelayStringGridKeyPress(back);
        grid().SetCells(1, 1, "45");
        d().DelayStringGridKeyPress(letter);
        EXPECT_EQ(std::vector<char32_t>({more, back, letter}),
                  std::vector<char32_t>({Key::None, Key::Backspace, Key::None}));
        char32_t enter = Key::Enter;
        d().DelayStringGridKeyPress(enter);
        EXPECT_EQ(std::make_tuple(grid().Col(), grid().CurRow(), grid().RowCount()),
                  std::make_tuple(0, 2, 3));
        d().CloseWindow();
        return 0;
    });
    form().InputGrid.SetCurrent(1, 2);
    form().OpenDelayInfForm.Execute();
    EXPECT_EQ(records(), (std::vector<Record>{{1003, 45, 1}}));
}

// ---- Clock log ----

class ClockLog : public DelayInf {
  protected:
    std::filesystem::path logPath() { return raceFolder() / "stcltime.log"; }
    std::array<int, kClockLegs + 1>& times() { return FormClockInput->ClockStartTimes; }
    static int hm(int h, int m) { return h * 3600 + m * 60; }
};

TEST_F(ClockLog, WritesStartTimesOtherThanMidnightAndReadsOnlySoundLines) {
    setCounts(5, 1, 5);
    times()[0] = hm(9, 0);
    times()[3] = hm(9, 5);
    times()[7] = hm(10, 0); // beyond the legs: not written
    WriteClockLog();
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(logPath(), bytes));
    EXPECT_EQ(bytes, "0 9 0\r\n3 9 5\r\n");

    ASSERT_TRUE(
        WriteFileBytes(logPath(), "3 9 5\r\n7 10 0\r\n2 25 0\r\nx\r\n1 8\r\n4 9 5 6\r\n\xff\xfe\r\n"));
    times().fill(hm(1, 1));
    ReadClockLog();
    for (int i = 0; i <= kClockLegs; ++i)
        EXPECT_EQ(times()[i], i == 3 ? hm(9, 5) : 0) << i;
}

TEST_F(ClockLog, DeletingSaysWhatHappenedAndClearsEveryTime) {
    form().deleteClockLog.SetEnabled(true);
    for (bool present : {true, false}) {
        times().fill(hm(9, 30));
        if (present) WriteClockLog();
        dialogs.ClearLog();
        form().deleteClockLog.Execute();
        EXPECT_EQ(dialogs.Joined(),
                  present ? "起ﾀｲﾑ ﾛｸﾞﾌｧｲﾙを削除しました。" : "起ﾀｲﾑ ﾛｸﾞﾌｧｲﾙは存在しませんでした。");
        EXPECT_FALSE(FileExists(logPath()));
        for (int t : times())
            EXPECT_EQ(t, 0);
    }
}

TEST_F(ClockLog, AFolderInPlaceOfTheLogStopsNothing) {
    std::filesystem::create_directories(logPath());
    times()[1] = hm(9, 0);
    EXPECT_NO_THROW(WriteClockLog());
    EXPECT_NO_THROW(ReadClockLog());
    EXPECT_EQ(times()[1], 0);
}

TEST_F(ClockLog, AFullDiskKeepsTheLastLog) {
    times()[0] = hm(9, 0);
    WriteClockLog();
    for (int i = 1; i <= 3; ++i)
        times()[i] = hm(10, i);
    // A child whose files may not grow past a few bytes stands for the full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        WriteClockLog();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the program goes on";
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(logPath(), bytes));
    EXPECT_EQ(bytes, "0 9 0\r\n");
}
