// The timing file into the split grid: leg-ending passings by split point, the single
// CSV, the polling timer, and files that are missing, wrong or too long.
#include "mainwindow/PassingGridFixture.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace {

class TimingImport : public PassingGridFixture {
  protected:
    std::string file(const std::string& bytes, const std::string& name = "000.csv") {
        EXPECT_TRUE(WriteFileBytes(home.path() / name, bytes));
        return (home.path() / name).string();
    }
    // A header, then the lines (separated by blanks here), CR LF.
    static std::string csv(const std::string& lines) {
        std::string text = "h\r\n";
        for (const std::string& l : Split(lines, ' '))
            text += l + "\r\n";
        return text;
    }
    // The split panel shown in the active window, the automatic import on for the file.
    void polling(const std::string& bytes) {
        form().showSlitPanel = form().MainWindowActive = true;
        race(1, 8);
        form().Timer1.SetEnabled(true);
        form().Edit1.SetText(file(bytes));
        form().ActionSetAllCSV.Execute();
    }
    // The split rows as "number/time/leg" up to the first empty one, blank-separated.
    std::string splitRows() {
        std::string out;
        for (int r = 2; r < split().RowCount() && !split().Cells(1, r).empty(); ++r)
            out += (r > 2 ? " " : "") + split().Cells(1, r) + "/" + split().Cells(2, r) + "/" +
                   split().Cells(3, r);
        return out;
    }
};

} // namespace

TEST_F(TimingImport, OnlyPassingsThatEndALegAreTakenAndHandedOn) {
    struct Case {
        int legs;
        const char *counts, *lines, *rows;
    } cases[] = {
        {2, "2,4", "a,b,5,1000,1 a,b,5,2000,2 a,b,5,3000,3 a,b,5,4000,4", "5/2000/1 5/4000/2"},
        // No split counts: points 1..legs end a leg; a missing point is 0.
        {3, "", "a,b,5,9,0 a,b,5,10,1 a,b,5,20,2 a,b,5,30,3 a,b,5,40,4 a,b,5,50", "5/10/1 5/20/2 5/30/3"},
        // Unknown numbers, times below 1 or not numbers are skipped; an alias finds its team.
        {1, "", "a,b,99,10,1 a,b,5,0,1 a,b,5,9:00,1 a,b,x,10,1 a,b,301,1100,1 a,b,6,1200,1",
         "301/1100/1 6/1200/1"},
    };
    form().AutoTransferNoAsk = true;
    for (const Case& c : cases) {
        race(c.legs, 8);
        form().TeamEntryGrid.SetCells(3, 4, "301");
        const auto counts = Split(c.counts, ',');
        for (int k = 1; k <= c.legs; ++k)
            form().KukanInfGrid.SetCells(4, k, k <= static_cast<int>(counts.size()) ? counts[k - 1] : "");
        fillSplit({{"7", "1"}, {"7", "2"}, {"7", "3"}, {"7", "4"}}); // left over from before
        form().FromPath = file(csv(c.lines));
        EXPECT_TRUE(form().LoadAutoImportFile());
        EXPECT_EQ(splitRows(), c.rows);
    }
    EXPECT_EQ(in().Row(3), (Cells{"2", "6", "1200"})); // no question asked
    EXPECT_TRUE(dialogs.Texts().empty());

    // The single CSV takes numbers 1..998 whatever the point, packed, without legs.
    dialogs.AnswerFile(file(csv("a,b,0,100 a,b,998,200 a,b,999,300 a,b,12,0 a,b,12,400,9"), "t.csv"));
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.LastFileRequest().Filter, "CSV|*.csv|TXT|*.txt");
    EXPECT_EQ(splitRows(), "998/200/ 12/400/");
    dialogs.AnswerFile((home.path() / "none.csv").string());
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.Joined(), "Cannot open file|CSVファイルが開けませんでした。");
    EXPECT_EQ(splitRows(), "998/200/ 12/400/");
}

TEST_F(TimingImport, TimerReadsOnlyWhenTheSizeChangesAndOnlyWhileTheWindowIsActive) {
    auto sized = [](const char* line, size_t n) {
        return csv(line) + std::string(n - csv(line).size(), ',');
    };
    polling(sized("a,b,1,1000,1", 100));
    EXPECT_TRUE(form().ActionSetAllCSV.Checked() && form().ProgressBar1.Visible() && !form().Edit1.Enabled());
    EXPECT_EQ(splitRows(), "1/1000/1");

    // Sizes 100, 120, 120: nothing, a reading, nothing (the grid is emptied before each tick).
    const std::pair<std::string, const char*> ticks[] = {
        {sized("a,b,1,1000,1", 100), ""}, {sized("a,b,2,2000,1", 120), "2/2000/1"}, {"", ""}};
    std::vector<int> progress;
    for (const auto& [bytes, rows] : ticks) {
        if (!bytes.empty()) file(bytes);
        TMainForm::ClearGridData(split(), -1);
        form().Timer1.Fire();
        EXPECT_EQ(splitRows(), rows);
        progress.push_back(form().ProgressBar1.Position());
    }
    while (progress.size() < 20) {
        form().Timer1.Fire();
        progress.push_back(form().ProgressBar1.Position());
    }
    EXPECT_EQ(progress, (std::vector<int>{5,  10, 15, 20, 25, 30, 35, 40, 45, 50,
                                          55, 60, 65, 70, 75, 80, 85, 90, 95, 0}));

    // Another window active, the panel hidden or the import off: nothing moves.
    file(csv("a,b,3,3000,1"));
    for (auto stop : {+[](TMainForm& f) { f.MainWindowActive = false; },
                      +[](TMainForm& f) { f.SlitGridPanel.SetVisible(false); },
                      +[](TMainForm& f) { f.ActionSetAllCSV.Execute(); }}) {
        form().MainWindowActive = true;
        form().SlitGridPanel.SetVisible(true);
        stop(form());
        form().Timer1.Fire();
        EXPECT_EQ(splitRows(), "");
        EXPECT_EQ(form().ProgressBar1.Position(), 0);
    }
    EXPECT_TRUE(form().Edit1.Enabled() && !form().ProgressBar1.Visible() && dialogs.Texts().empty());
}

TEST_F(TimingImport, DamagedFilesAreToldOrSkippedAndNothingElseChanges) {
    std::filesystem::create_directory(home.path() / "folder.csv");
    for (const auto* name : {"none.csv", "folder.csv"}) {
        const std::string path = (home.path() / name).string();
        dialogs.ClearLog();
        form().Edit1.SetText(path);
        form().ActionSetAllCSV.Execute();
        char32_t enter = Key::Enter;
        form().Edit1KeyDown(enter);
        EXPECT_EQ(dialogs.Joined(), path + " は存在しません。|" + path + " は存在しません。");
        EXPECT_EQ(form().Edit1.Text() + form().FromPath, "");
        EXPECT_FALSE(form().AutoImportOn || form().ActionSetAllCSV.Checked());
    }

    std::string utf16;
    for (char ch : csv("a,b,1,900,1"))
        utf16 += std::string{ch, '\0'};
    const std::pair<std::string, const char*> cases[] = {
        {ToSjis("時刻,区分,No,通過,地点\r\n"), ""},       // header only: emptied
        {"\xEF\xBB\xBFNo\r\na,b,2,700,1\r\n", "2/700/1"}, // UTF-8 with its mark
        {"時刻\r\na,b,2,700,1\n", "2/700/1"},             // UTF-8 without its mark
        {utf16, ""},                                      // UTF-16: no line reads
        {csv("a,b,1,100,1 a,b,2,200,1 a,b,1,300,1 a,b,2,400,1"), "1/100/1 2/200/1"}, // too long
    };
    race(1, 2); // room for two passings
    form().AutoTransferNoAsk = true;
    for (const auto& [bytes, rows] : cases) {
        TMainForm::ClearGridData(in(), -1);
        fillSplit({{"1", "5"}});
        dialogs.ClearLog();
        form().FromPath = file(bytes);
        form().LoadAutoImportFile();
        const bool overflow = &bytes == &cases[4].first;
        EXPECT_EQ(dialogs.Joined(), overflow ? "2 行はｽﾘｯﾄｸﾞﾘｯﾄﾞに入りませんでした。" : "");
        EXPECT_EQ(splitRows(), rows);
        // Only a whole reading that fits goes on to the input grid.
        EXPECT_EQ(in().Cells(1, 2), *rows && !overflow ? "2" : "");
    }

    // Too large to be a timing file: told once per change of size, not per tick.
    polling(csv("a,b,1,100,1"));
    dialogs.ClearLog();
    std::filesystem::resize_file(form().FromPath, 17 << 20);
    for (int i = 0; i < 3; ++i)
        form().Timer1.Fire();
    EXPECT_EQ(dialogs.Joined(), "Cannot open file");
    EXPECT_EQ(splitRows(), "1/100/1");
}
