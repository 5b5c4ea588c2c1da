// The timing file into the split grid: leg-ending passings by split point, the single
// CSV, the polling timer, and files that are missing, wrong or too long.
#include "mainwindow/PassingGridFixture.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <cstring>

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
        bool hundredths;
        const char *counts, *lines, *rows, *left;
    } cases[] = {
        {2, false, "2,4", "a,b,5,1000,1 a,b,5,2000,2 a,b,5,3000,3 a,b,5,4000,4", "5/2000/1 5/4000/2", ""},
        // No split counts: points 1..legs end a leg; point 0 ends none, a missing one is a bad line.
        {3, false, "", "a,b,5,9,0 a,b,5,10,1 a,b,5,20,2 a,b,5,30,3 a,b,5,40,4 a,b,5,50", "5/10/1 5/20/2 5/30/3",
         "読めない行 1 行を除きました。 最後: 7 行目「a,b,5,50」"},
        // Unknown numbers, times below 1 or not numbers are left out; an alias finds its team.
        {1, false, "", "a,b,99,10,1 a,b,5,0,1 a,b,5,9:00,1 a,b,x,10,1 a,b,301,1100,1 a,b,6,1200,1",
         "301/1100/1 6/1200/1", "チームにないNo. 1 行、読めない行 3 行を除きました。 最後: 5 行目「a,b,x,10,1」"},
        // Times longer than a time cell takes: 7 digits, 9 in hundredths.
        {1, false, "", "a,b,1,9999999,1 a,b,2,10000000,1 a,b,3,2147483647,1 a,b,4,99999999999,1",
         "1/9999999/1", "読めない行 3 行を除きました。 最後: 5 行目「a,b,4,99999999999,1」"},
        {1, true, "", "a,b,1,999999999,1 a,b,2,1000000000,1", "1/999999999/1",
         "読めない行 1 行を除きました。 最後: 3 行目「a,b,2,1000000000,1」"},
        // A team passes a point once, under its number or its alias: the first line counts.
        {2, false, "", "a,b,4,100,1 a,b,4,150,1 a,b,301,160,1 a,b,2,200,1 a,b,4,300,2",
         "4/100/1 2/200/1 4/300/2", "重複 2 行を除きました。 最後: 4 行目「a,b,301,160,1」"},
    };
    form().AutoTransferNoAsk = true;
    for (const Case& c : cases) {
        form().chk100.SetChecked(c.hundredths);
        race(c.legs, 8);
        form().TeamEntryGrid.SetCells(3, 4, "301");
        const auto counts = Split(c.counts, ',');
        for (int k = 1; k <= c.legs; ++k)
            form().KukanInfGrid.SetCells(4, k, k <= static_cast<int>(counts.size()) ? counts[k - 1] : "");
        fillSplit({{"7", "1"}, {"7", "2"}, {"7", "3"}, {"7", "4"}}); // left over from before
        TMainForm::ClearGridData(in(), -1); // a passing there is never written over
        form().FromPath = file(csv(c.lines));
        EXPECT_TRUE(form().LoadAutoImportFile());
        EXPECT_EQ(splitRows(), c.rows);
        EXPECT_EQ(form().LabelAutoImport.Caption(), c.left);
    }
    // Handed on unasked, each passing to its leg once.
    EXPECT_EQ(in().Row(2), (Cells{"1", "4", "100", "4", "300"}));
    EXPECT_EQ(in().Row(3), (Cells{"2", "2", "200", "", ""}));
    EXPECT_TRUE(dialogs.Texts().empty());
    form().chk100.SetChecked(false);

    // The single CSV takes numbers 1..998 whatever the point, packed, without legs.
    dialogs.AnswerFile(file(csv("a,b,0,100 a,b,998,200 a,b,999,300 a,b,12,0 a,b,12,400,9"), "t.csv"));
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.LastFileRequest().Filter, "CSV|*.csv|TXT|*.txt");
    EXPECT_EQ(splitRows(), "998/200/ 12/400/");
    // The desk started it: what it left out is told in a box, once.
    const std::string left = "チームにないNo. 2 行、読めない行 1 行を除きました。 最後: 5 行目「a,b,12,0」";
    EXPECT_EQ(dialogs.Joined(), left);
    EXPECT_EQ(form().LabelAutoImport.Caption(), left);
    dialogs.ClearLog();
    dialogs.AnswerFile((home.path() / "none.csv").string());
    form().OpenSingleCSV.Execute();
    EXPECT_EQ(dialogs.Joined(), "Cannot open file|CSVファイルが開けませんでした。");
    EXPECT_EQ(splitRows(), "998/200/ 12/400/");
}

TEST_F(TimingImport, TimerReadsOnlyWhenTheSizeChangesAndOnlyWhileTheWindowIsActive) {
    // The text with a line padded by commas to n bytes in all.
    auto sized = [](const std::string& before, const char* line, size_t n) {
        return before + line + std::string(n - before.size() - std::strlen(line) - 2, ',') + "\r\n";
    };
    const std::string first = sized("h\r\n", "a,b,1,1000,1", 100);
    polling(first);
    EXPECT_TRUE(form().ActionSetAllCSV.Checked() && form().ProgressBar1.Visible() && !form().Edit1.Enabled());
    EXPECT_EQ(splitRows(), "1/1000/1");

    // Sizes 100, 120, 120: nothing, a reading, nothing (the grid is emptied before each tick).
    const std::pair<std::string, const char*> ticks[] = {
        {first, ""}, {sized(first, "a,b,2,2000,1", 120), "1/1000/1 2/2000/1"}, {"", ""}};
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
        form().Edit1.SetText(path);
        form().ActionSetAllCSV.Execute();
        char32_t enter = Key::Enter;
        form().Edit1KeyDown(enter);
        EXPECT_EQ(dialogs.Joined(), path + " は存在しません。|" + path + " は存在しません。");
        EXPECT_EQ(form().Edit1.Text() + form().FromPath, "");
        EXPECT_FALSE(form().AutoImportOn || form().ActionSetAllCSV.Checked());
        dialogs.ClearLog();
    }

    std::string utf16;
    for (char ch : csv("a,b,1,900,1"))
        utf16 += std::string{ch, '\0'};
    struct Case {
        std::string bytes;
        const char *rows, *left;
    } cases[] = {
        {ToSjis("時刻,区分,No,通過,地点\r\n"), "", ""},       // header only: emptied
        {"\xEF\xBB\xBFNo\r\na,b,2,700,1\r\n", "2/700/1", ""}, // UTF-8 with its mark
        {"時刻\r\na,b,2,700,1\n", "2/700/1", ""},             // UTF-8 without its mark
        {utf16, "", "読めない行 1 行を除きました。 最後: 3 行目"}, // UTF-16: no line reads
        // Repeated lines never push the race's last passings out of the grid.
        {csv("a,b,1,100,1 a,b,2,200,1 a,b,1,300,1 a,b,2,400,1"), "1/100/1 2/200/1",
         "重複 2 行を除きました。 最後: 5 行目「a,b,2,400,1」"},
    };
    race(1, 2); // room for two passings
    form().AutoTransferNoAsk = true;
    auto import = [&](const std::string& bytes) {
        TMainForm::ClearGridData(in(), -1);
        fillSplit({{"1", "5"}});
        form().FromPath = file(bytes);
        form().LoadAutoImportFile();
    };
    for (const Case& c : cases) {
        import(c.bytes);
        EXPECT_EQ(splitRows(), c.rows);
        EXPECT_TRUE(StartsWith(form().LabelAutoImport.Caption(), c.left) &&
                    form().LabelAutoImport.Caption().empty() == !*c.left)
            << form().LabelAutoImport.Caption();
        // What the grid took goes on to the input grid.
        EXPECT_EQ(in().Cells(1, 2), std::string(c.rows).substr(0, 1));
    }
    // More passings than rows: those that fit go on, the rest are counted.
    split().SetRowCount(3);
    import(csv("a,b,2,100,1 a,b,1,200,1"));
    EXPECT_EQ(in().Row(2), (Cells{"1", "2", "100"}));
    EXPECT_EQ(form().LabelAutoImport.Caption(), "1 行はｽﾘｯﾄｸﾞﾘｯﾄﾞに入りませんでした。 最後: 3 行目「a,b,1,200,1」");

    // Too large to be a timing file: told beside the progress bar, never in a box.
    polling(csv("a,b,1,100,1"));
    std::filesystem::resize_file(form().FromPath, 17 << 20);
    for (int i = 0; i < 3; ++i)
        form().Timer1.Fire();
    EXPECT_EQ(form().LabelAutoImport.Caption(), "CSVファイルが開けませんでした。");
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_EQ(splitRows(), "1/100/1");
}

// The race as the timing system writes it: bursts, a line written in two pieces, a
// repeated line, a number of no team, a point that ends no leg, a last line that never
// gets its line end. Each passing reaches its leg column once, and no box interrupts.
TEST_F(TimingImport, AFileWrittenInBurstsReachesTheInputGridTickByTick) {
    const char* unknownOnly = "チームにないNo. 1 行を除きました。 最後: 4 行目「t,0,77,90025,1」";
    const char* withRepeat = "重複 1 行、チームにないNo. 1 行を除きました。 最後: 6 行目「t,0,2,90020,1」";
    const struct Burst {
        const char* bytes;
        int splitRows;
        const char* left;
    } bursts[] = {
        {"t,0,1,90010,1\r\nt,0,2,90020,1\r\nt,0,77,90025,1\r\n", 2, unknownOnly},
        {"t,0,3,90030,1\r\nt,0,2,90020,1\r\nt,0,4,90040,1\r\nt,0,1,100010,2\r\nt,0,2,1000", 5, withRepeat},
        // Taken torn, "…,1" would be a second passing of point 1.
        {"20,2\r\nt,0,3,100030,2\r\nt,0,4,100040,2\r\nt,0,4,103000,1", 8, withRepeat},
        {"0\r\nt,0,1,110010,3\r\nt,0,3,110030,3\r\nt,0,2,110020,3\r\nt,0,4,110040,3", 11, withRepeat},
        {"", 12, withRepeat}, // the file rests: its last line is taken as it is
        {"", 12, withRepeat},
    };
    form().showSlitPanel = form().MainWindowActive = true;
    race(3, 4);
    form().AutoTransferNoAsk = true;
    form().Timer1.SetEnabled(true);
    std::string text = "h\r\n";
    form().Edit1.SetText(file(text));
    form().ActionSetAllCSV.Execute();
    for (const Burst& b : bursts) {
        text += b.bytes;
        file(text);
        form().Timer1.Fire();
        EXPECT_EQ(static_cast<int>(Split(splitRows(), ' ').size()), b.splitRows) << splitRows();
        EXPECT_EQ(form().LabelAutoImport.Caption(), b.left);
    }
    const Cells rows[] = {{"1", "1", "90010", "1", "100010", "1", "110010"},
                          {"2", "2", "90020", "2", "100020", "3", "110030"},
                          {"3", "3", "90030", "3", "100030", "2", "110020"},
                          {"4", "4", "90040", "4", "100040", "4", "110040"}};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(in().Row(2 + r), rows[r]);
    EXPECT_TRUE(dialogs.Texts().empty());
}
