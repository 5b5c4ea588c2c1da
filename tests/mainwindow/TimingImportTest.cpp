// The timing file into the split grid: leg-ending passings by split point, the single
// CSV, the polling timer, and files that are missing, wrong or too long.
#include "mainwindow/PassingGridFixture.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <filesystem>

namespace {

class TimingImport : public PassingGridFixture {
  protected:
    // A timing file as the timing system writes it: Shift-JIS header, CR LF lines.
    std::string timingFile(const std::vector<std::string>& lines, const std::string& name = "000.csv") {
        std::string bytes = ToSjis("時刻,区分,No,通過,地点\r\n");
        for (const std::string& l : lines)
            bytes += l + "\r\n";
        return rawFile(bytes, name);
    }
    std::string rawFile(const std::string& bytes, const std::string& name = "000.csv") {
        const auto path = home.path() / name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path.string();
    }
    static std::string utf16(const std::string& ascii) {
        std::string out;
        for (char ch : ascii)
            out += std::string{ch, '\0'};
        return out;
    }
    // Turns the automatic import on for the file, as the desk does from the edit line.
    void switchOn(const std::string& path) {
        form().Edit1.SetText(path);
        form().ActionSetAllCSV.Execute();
    }
    // The split rows as "number/time/leg" up to the first empty one.
    std::vector<std::string> splitRows() {
        std::vector<std::string> out;
        for (int r = 2; r < split().RowCount() && !split().Cells(1, r).empty(); ++r)
            out.push_back(split().Cells(1, r) + "/" + split().Cells(2, r) + "/" + split().Cells(3, r));
        return out;
    }
};

} // namespace

TEST_F(TimingImport, OnlyPassingsThatEndALegAreTaken) {
    struct Case {
        int legs;
        std::vector<std::string> counts, lines, rows;
    } cases[] = {
        {2,
         {"2", "4"},
         {"a,b,5,1000,1", "a,b,5,2000,2", "a,b,5,3000,3", "a,b,5,4000,4"},
         {"5/2000/1", "5/4000/2"}},
        // No split counts: points 1..legs end a leg, a missing point is 0.
        {3,
         {},
         {"a,b,5,900,0", "a,b,5,1000,1", "a,b,5,2000,2", "a,b,5,3000,3", "a,b,5,4000,4", "a,b,5,5000"},
         {"5/1000/1", "5/2000/2", "5/3000/3"}},
        // Unknown numbers, times below 1 or not numbers are skipped; an alias finds its team.
        {1,
         {},
         {"a,b,99,1000,1", "a,b,5,0,1", "a,b,5,9:00,1", "a,b,x,1000,1", "a,b,301,1100,1", "a,b,6,1200,1"},
         {"301/1100/1", "6/1200/1"}},
    };
    for (const Case& c : cases) {
        race(c.legs, 8);
        form().TeamEntryGrid.SetCells(3, 4, "301");
        for (int k = 1; k <= c.legs; ++k)
            form().KukanInfGrid.SetCells(4, k, k <= static_cast<int>(c.counts.size()) ? c.counts[k - 1] : "");
        TMainForm::ClearGridData(in(), -1);
        fillSplit({{"7", "1"}, {"7", "2"}, {"7", "3"}, {"7", "4"}}); // left over from before
        form().FromPath = timingFile(c.lines);
        form().AutoTransferNoAsk = true;
        EXPECT_TRUE(form().LoadAutoImportFile());
        EXPECT_EQ(splitRows(), c.rows);
    }
    // The transfer ran at once, without its question.
    EXPECT_EQ(in().Row(2), (Cells{"1", "301", "1100"}));
    EXPECT_EQ(in().Row(3), (Cells{"2", "6", "1200"}));
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(TimingImport, SingleCsvTakesNumbersUpTo998Packed) {
    race(2, 8);
    fillSplit({{"7", "1"}, {"7", "2"}, {"7", "3"}, {"7", "4"}});
    dialogs.AnswerFile(
        timingFile({"a,b,0,100", "a,b,998,200", "a,b,999,300", "a,b,12,0", "a,b,12,400,9"}, "t.csv"));
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.LastFileSpec().Filter, "CSV|*.csv|TXT|*.txt");
    EXPECT_EQ(splitRows(), (Cells{"998/200/", "12/400/"}));

    dialogs.AnswerFile((home.path() / "none.csv").string());
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.Joined(), "Cannot open file|CSVファイルが開けませんでした。");
    EXPECT_EQ(splitRows().size(), 2u);
}

TEST_F(TimingImport, TimerReadsOnlyWhenTheSizeChangesAndOnlyWhileTheWindowIsActive) {
    form().showSlitPanel = true;
    race(1, 8);
    form().MainWindowActive = true;
    form().Timer1.SetEnabled(true);
    const std::string head = "h\r\na,b,1,1000,1\r\n", body = "h\r\na,b,2,2000,1\r\n";
    auto sized = [](const std::string& s, size_t n) { return s + std::string(n - s.size(), ','); };
    const std::string path = rawFile(sized(head, 100));
    switchOn(path);
    EXPECT_TRUE(form().ActionSetAllCSV.Checked());
    EXPECT_FALSE(form().Edit1.Enabled());
    EXPECT_TRUE(form().ProgressBar1.Visible());
    EXPECT_EQ(splitRows(), (Cells{"1/1000/1"}));

    // Sizes 100, 120, 120: nothing, a reading, nothing. The grid is emptied before each tick.
    struct Tick {
        std::string bytes;
        Cells rows;
    } ticks[] = {{sized(head, 100), {}}, {sized(body, 120), {"2/2000/1"}}, {sized(body, 120), {}}};
    std::vector<int> progress;
    for (const Tick& t : ticks) {
        rawFile(t.bytes);
        TMainForm::ClearGridData(split(), -1);
        form().Timer1.Fire();
        EXPECT_EQ(splitRows(), t.rows) << t.bytes.size();
        progress.push_back(form().ProgressBar1.Position());
    }
    for (int i = 3; i < 20; ++i) {
        form().Timer1.Fire();
        progress.push_back(form().ProgressBar1.Position());
    }
    EXPECT_EQ(progress, (std::vector<int>{5,  10, 15, 20, 25, 30, 35, 40, 45, 50,
                                          55, 60, 65, 70, 75, 80, 85, 90, 95, 0}));
    EXPECT_TRUE(form().Timer1.Enabled());

    // Another window active, the panel hidden or the import off: nothing moves.
    rawFile(head);
    for (auto stop : {+[](TMainForm& f) { f.MainWindowActive = false; },
                      +[](TMainForm& f) { f.SlitGridPanel.SetVisible(false); },
                      +[](TMainForm& f) { f.ActionSetAllCSV.Execute(); }}) {
        form().MainWindowActive = true;
        form().SlitGridPanel.SetVisible(true);
        stop(form());
        form().Timer1.Fire();
        EXPECT_EQ(splitRows(), Cells{});
        EXPECT_EQ(form().ProgressBar1.Position(), 0);
    }
    EXPECT_TRUE(form().Edit1.Enabled());
    EXPECT_FALSE(form().ProgressBar1.Visible());
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(TimingImport, DamagedFilesAreToldOrSkippedAndNothingElseChanges) {
    race(1, 2); // room for two passings
    std::filesystem::create_directory(home.path() / "folder.csv");
    for (const std::string& name : {std::string("none.csv"), std::string("folder.csv")}) {
        const std::string path = (home.path() / name).string();
        dialogs.ClearLog();
        switchOn(path);
        EXPECT_EQ(dialogs.Joined(), path + " は存在しません。");
        EXPECT_FALSE(form().AutoImportOn);
        form().FromPath = path;
        char32_t enter = Key::Enter;
        form().Edit1KeyDown(enter);
        EXPECT_EQ(form().Edit1.Text() + form().FromPath, "");
    }

    struct Case {
        std::string bytes, messages;
        Cells rows;
    } cases[] = {
        {ToSjis("時刻,区分,No,通過,地点\r\n"), "", {}},         // header only: emptied
        {"\xEF\xBB\xBFNo\r\na,b,2,700,1\r\n", "", {"2/700/1"}}, // UTF-8 with its mark
        {"時刻\r\na,b,2,700,1\n", "", {"2/700/1"}},             // UTF-8 without: the header garbles
        {utf16("No\r\na,b,1,900,1\r\n"), "", {}},               // UTF-16: no line reads
        {"h\r\na,b,1,100,1\r\na,b,2,200,1\r\na,b,1,300,1\r\na,b,2,400,1\r\n",
         "2 行はｽﾘｯﾄｸﾞﾘｯﾄﾞに入りませんでした。",
         {"1/100/1", "2/200/1"}},
    };
    form().AutoTransferNoAsk = true;
    for (const Case& c : cases) {
        TMainForm::ClearGridData(in(), -1);
        fillSplit({{"1", "5"}});
        dialogs.ClearLog();
        form().FromPath = rawFile(c.bytes);
        form().LoadAutoImportFile();
        EXPECT_EQ(dialogs.Joined(), c.messages);
        EXPECT_EQ(splitRows(), c.rows);
        // Only a whole, fitting reading goes on to the input grid.
        EXPECT_EQ(in().Cells(1, 2), c.rows.empty() || !c.messages.empty() ? "" : "2");
    }

    // Too large to be a timing file: told once per change of size, not per tick.
    form().showSlitPanel = true;
    race(1, 2);
    form().MainWindowActive = true;
    form().Timer1.SetEnabled(true);
    const std::string big = rawFile("h\r\na,b,1,100,1\r\n");
    switchOn(big);
    dialogs.ClearLog();
    std::filesystem::resize_file(big, 17 << 20);
    for (int i = 0; i < 3; ++i)
        form().Timer1.Fire();
    EXPECT_EQ(dialogs.Joined(), "Cannot open file");
    EXPECT_EQ(splitRows(), (Cells{"1/100/1"}));
}
