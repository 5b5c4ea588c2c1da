// The timing file into the split grid: leg-ending passings by split point, the single
// CSV, the polling timer, and files that are missing, wrong or too long.
#include "mainwindow/CsvGrid.h"
#include "mainwindow/PassingGridFixture.h"
#include "mainwindow/TFormClockInput.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <cstring>
#include <functional>
#include <new>

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
    // The split panel shown in the active window, the automatic import on for the file;
    // set is what the desk sets up before switching it on.
    void polling(const std::string& bytes, int legs = 1, int teams = 8,
                 const std::function<void()>& set = {}) {
        form().showSlitPanel = form().MainWindowActive = true;
        race(legs, teams);
        if (set) set();
        form().Timer1.SetEnabled(true);
        form().Edit1.SetText(file(bytes));
        form().ActionSetAllCSV.Execute();
    }
    // The same over empty passing grids (a lower count would ask about what they hold),
    // teams named "T<n>", leg ends by split count, the passings handed on unasked.
    void raceDay(int legs, int teams, const std::vector<std::string>& counts, const std::string& bytes) {
        TMainForm::ClearGridData(in(), -1);
        TMainForm::ClearGridData(split(), -1);
        polling(bytes, legs, teams, [&] {
            for (int k = 1; k <= legs; ++k)
                form().KukanInfGrid.SetCells(4, k, k <= static_cast<int>(counts.size()) ? counts[k - 1] : "");
            for (int t = 1; t <= teams; ++t)
                form().TeamEntryGrid.SetCells(1, t, "T" + IntToStr(t));
            form().AutoTransferNoAsk = true;
        });
    }
    void append(const std::string& bytes) {
        std::string text;
        ReadFileBytes(form().FromPath, text);
        file(text + bytes);
    }
    // The input grid's data rows: "number/time" per leg, "-" for an empty leg.
    std::vector<std::string> inputRows() {
        std::vector<std::string> rows;
        for (int r = 2; r < form().TeamNum + 2; ++r) {
            std::string row;
            for (int leg = 1; leg <= form().KukanNum; ++leg) {
                const std::string n = in().Cells(2 * leg - 1, r), t = in().Cells(2 * leg, r);
                row += (leg > 1 ? " " : "") + (n.empty() && t.empty() ? std::string("-") : n + "/" + t);
            }
            rows.push_back(row);
        }
        return rows;
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

// The files timing devices really write, tick by tick.
TEST_F(TimingImport, EveryFileADeviceWritesKeepsItsPassingsInTheirLegs) {
    struct Step {
        std::function<void()> act;
        const char* status; // after one tick; {path} is the file's path
        bool held;          // the input grid stays as it was
    };
    struct Road {
        int legs, teams;
        std::vector<std::string> counts;
        std::vector<Step> steps;
        std::vector<std::string> input;
    };
    const char* replaced = "保留中：ファイルが置き換えられました。自動取込を入れ直すと再開します。";
    auto add = [this](const char* bytes) { return [this, bytes] { append(bytes); }; };
    const Road roads[] = {
        // One mat: a line not later than the team's last one there adds nothing.
        {3, 4, {},
         {{add("t,0,1,90010,1\r\nt,0,2,90020,1\r\nt,0,3,90030,1\r\nt,0,4,90040,1\r\n"), "", false},
          {add("t,0,2,90020,1\r\nt,0,1,100010,1\r\nt,0,1,95000,1\r\n"),
           "重複 2 行を除きました。 最後: 8 行目「t,0,1,95000,1」", false},
          {add("t,0,2,100020,1\r\nt,0,3,100030,1\r\nt,0,4,100040,1\r\nt,0,3,110030,1\r\nt,0,2,110020,1\r\n"
               "t,0,1,110010,1\r\nt,0,4,110040,1\r\n"),
           "重複 2 行を除きました。 最後: 8 行目「t,0,1,95000,1」", false}},
         {"1/90010 1/100010 3/110030", "2/90020 2/100020 2/110020", "3/90030 3/100030 1/110010",
          "4/90040 4/100040 4/110040"}},
        // CR alone ends a line. Another window active or an editor open holds the import.
        {2, 2, {},
         {{add("t,0,1,90010,1\rt,0,2,90020,1\r"), "", false},
          {[this] { form().MainWindowActive = false; append("t,0,2,100020,2\n"); },
           "保留中：別のウィンドウが開いています。", true},
          {[this] { form().MainWindowActive = true; split().SetEditorOpen(true); },
           "保留中：ｽﾘｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。", true},
          {[this] { split().SetEditorOpen(false); in().SetEditorOpen(true); },
           "保留中：ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞのセルを入力中です。", true},
          {[this] { in().SetEditorOpen(false); append("t,0,1,100010,2\r\n"); }, "", false}},
         {"1/90010 2/100020", "2/90020 1/100010"}},
        // Points name legs: team 2 not read at point 1, team 4's point 2 listed first.
        {3, 4, {},
         {{add("t,0,1,90010,1\r\nt,0,4,100040,2\r\nt,0,3,90030,1\r\nt,0,4,90040,1\r\n"), "", false},
          {add("t,0,2,100020,2\r\nt,0,1,100010,2\r\nt,0,3,100030,2\r\nt,0,2,110020,3\r\n"),
           "No.2 T2 の地点 1 の通過がありません。", false}},
         {"1/90010 4/100040 2/110020", "3/90030 2/100020 -", "4/90040 1/100010 -", "- 3/100030 -"}},
        // Split counts 2 and 4: team 2 was not read at point 2, the end of leg 1.
        {2, 2, {"2", "4"},
         {{add("t,0,1,80010,1\r\nt,0,2,80020,1\r\nt,0,1,90010,2\r\nt,0,1,95010,3\r\nt,0,2,95020,3\r\n"
               "t,0,2,100020,4\r\nt,0,1,100010,4\r\n"),
           "No.2 T2 の地点 2 の通過がありません。", false}},
         {"1/90010 2/100020", "- 1/100010"}},
        // The timing PC restarted: its file deleted, begun anew, taken once switched on again.
        {2, 3, {},
         {{add("t,0,1,90010,1\r\nt,0,2,90020,1\r\nt,0,3,90030,1\r\n"), "", false},
          {[this] { std::filesystem::remove(form().FromPath); }, "保留中：{path} がありません。", true},
          {[this] { file("h\r\nt,0,2,100020,1\r\nt,0,1,100010,1\r\n"); }, replaced, true},
          {add("t,0,3,100030,1\r\n"), replaced, true},
          {[this] { form().ActionSetAllCSV.Execute(); form().ActionSetAllCSV.Execute(); }, "", false}},
         {"1/90010 2/100020", "2/90020 1/100010", "3/90030 3/100030"}},
        // A file cut short in place; the desk chooses it again: a new start.
        {2, 2, {"1", "2"},
         {{add("t,0,1,90010,1\r\nt,0,2,90020,1\r\n"), "", false},
          {[this] { file("h\r\n"); }, replaced, true},
          {add("t,0,2,100020,2\r\n"), replaced, true},
          {[this] { dialogs.AnswerFile(form().FromPath); form().ActionOpenAllCSV.Execute(); }, "", false}},
         {"1/90010 2/100020", "2/90020 -"}},
    };
    for (const Road& road : roads) {
        raceDay(road.legs, road.teams, road.counts, "h\r\n");
        for (const Step& step : road.steps) {
            const std::vector<std::string> before = inputRows();
            step.act();
            form().Timer1.Fire();
            EXPECT_EQ(form().LabelAutoImport.Caption(), ReplaceAll(step.status, "{path}", form().FromPath));
            if (step.held) {
                EXPECT_EQ(inputRows(), before);
            }
        }
        EXPECT_EQ(inputRows(), road.input);
        form().ActionSetAllCSV.Execute(); // off: the next road is another race
    }
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
}

// A 3,000-comma line would widen every row of the grids.
TEST_F(TimingImport, AWideLineKeepsMemoryNearTheFileAndThePollingGoesOn) {
    std::string text = "h\r\n";
    for (int i = 0; text.size() < 44000; ++i)
        text += Format("t,0,%d,%d,1\r\n", i % 8 + 1, 90000 + i) +
                (i == 100 ? std::string(3000, ',') + "\r\n" : "");
    raceDay(1, 8, {}, text);
    EXPECT_EQ(form().TimingCsvGrid.ColCount(), 3001);
    EXPECT_LT(form().TimingCsvGrid.CellsHeld(), text.size());
    StringGrid entry; // the small file after the wide one: its memory went back
    for (const std::string& bytes : {text, std::string("a,b\r\nc,d\r\n")}) {
        ASSERT_TRUE(LoadCsvToGrid(entry, file(bytes, "entry.csv")));
        EXPECT_LT(entry.CellsHeld(), std::max<size_t>(64, bytes.size()));
    }

    // Each tick after a change reads again; one that throws is told and the next goes on.
    bool thrown = false;
    split().CellChanged.connect([&thrown](int, int) {
        if (!std::exchange(thrown, true)) throw std::bad_alloc();
    });
    TMainForm::ClearGridData(in(), -1);
    append("t,0,1,200000,1\r\n");
    form().Timer1.Fire();
    EXPECT_EQ(form().LabelAutoImport.Caption(), "取込に失敗しました：メモリが足りません。");
    EXPECT_TRUE(form().Timer1.Enabled());
    append("t,0,2,200010,1\r\n");
    form().Timer1.Fire();
    EXPECT_EQ(in().Row(2), (Cells{"1", "1", "90000"}));
    EXPECT_TRUE(form().Timer1.Enabled() && dialogs.Texts().empty());
}

// CR, LF and CR LF each end a line in every text file the desk imports.
TEST_F(TimingImport, EveryReaderEndsALineAtCrOrLfOrBoth) {
    race(3, 8);
    for (const char* end : {"\r", "\n", "\r\n"}) {
        const std::string lines = std::string("1,2,100,200") + end + "2,3,300,400" + end;
        StringGrid entry;
        ASSERT_TRUE(LoadCsvToGrid(entry, file(lines, "entry.csv")));
        EXPECT_EQ(entry.Row(1), (Cells{"2", "3", "300", "400"}));
        ASSERT_TRUE(FormClockInput->ImportClockCsv(file(lines, "clock.csv"), false));
        EXPECT_EQ(FormClockInput->InputTestGrid.Row(1), (Cells{"2", "3", "300", "400", ""}));
    }
}
