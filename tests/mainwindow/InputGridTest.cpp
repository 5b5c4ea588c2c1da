#include "database/RaceFile.h"
#include "mainwindow/TFormKuriage.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"

namespace {
const char* kCheckTime = "ﾀｲﾑ確認要！";
const char* kAboveEmpty = "前のセルは未入力です。";
} // namespace

class PassingInput : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        counts(3, 1, 6);
        form().wireInputHandlers();
        form().EntryTeamNum = form().TeamNum;
    }
    void counts(int legs, int subs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().HoketuSpinNum.SetValue(subs);
        form().SankaSpinNum.SetValue(teams);
    }
    StringGrid& grid() { return form().InputGrid; }
    // Types into the current cell as the grid editor does: each key goes to the
    // handler first, a key it lets through edits the cell text.
    void keys(const std::u32string& typed) {
        for (char32_t k : typed) {
            char32_t key = k;
            form().InputGridKeyPress(key);
            if (key == Key::None || key == Key::Enter) continue; // an Enter let through ends the edit
            std::string text = grid().Cells(grid().Col(), grid().CurRow());
            if (key == Key::Backspace) {
                if (!text.empty()) text.pop_back();
            } else {
                text += FromU32(key);
            }
            form().InputGridSetEditText(grid(), grid().Col(), grid().CurRow(), text);
        }
    }
    void typeAt(int col, int row, const std::u32string& typed) {
        grid().SetCurrent(col, row);
        keys(typed);
    }
    const std::string& cell(int col, int row) { return grid().Cells(col, row); }
    // Edition 1 of the race in home/race; the counts come from the edition row, as the
    // open road loads them.
    void openRace() {
        CreateDir(home.path() / "race");
        form().DataFolder = home.path() / "race";
        form().TaikaiNo = 1;
        form().TaikaiOpen = true;
        OpenTaikaiTable();
    }
    void kuriage(int point, const std::string& code) {
        FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, form().KukanNum);
        FormKuriage->KuriageGrid.SetCells(1, point, code);
    }
};

TEST_F(PassingInput, EnterCompletesShortTimesFromTheCellAbove) {
    grid().SetCells(2, 2, "93512");
    typeAt(2, 3, U"40\r");
    EXPECT_EQ(cell(2, 3), "93540");
    EXPECT_EQ(grid().CurRow(), 4);
    EXPECT_TRUE(dialogs.Texts().empty());

    grid().SetCells(4, 2, "93512");
    typeAt(4, 3, U"10\r");
    EXPECT_EQ(cell(4, 3), "93510");
    EXPECT_EQ(dialogs.Joined(), kCheckTime);
    dialogs.ClearLog();

    grid().SetCells(6, 2, "93512");
    typeAt(6, 3, U"100512\r");
    EXPECT_EQ(cell(6, 3), "100512");
    EXPECT_TRUE(dialogs.Texts().empty());

    // A full-length time earlier than the one above is kept, with the warning.
    typeAt(6, 4, U"095959\r");
    EXPECT_EQ(cell(6, 4), "095959");
    EXPECT_EQ(dialogs.Joined(), kCheckTime);
}

// Moving to another cell or leaving the grid completes a typed time as Enter does;
// moving within the cell being typed, or leaving an untouched one, does nothing.
TEST_F(PassingInput, LeavingATypedTimeCellCompletesIt) {
    for (int c : {2, 4})
        grid().SetCells(c, 2, "93512");
    typeAt(2, 3, U"40");
    form().InputGridSelectCell(2, 3);
    EXPECT_EQ(cell(2, 3), "40");
    form().InputGridSelectCell(3, 3);
    EXPECT_EQ(cell(2, 3), "93540");
    EXPECT_TRUE(dialogs.Texts().empty());

    typeAt(4, 3, U"10");
    form().InputGridExit(grid());
    EXPECT_EQ(cell(4, 3), "93510");
    EXPECT_EQ(dialogs.Joined(), kCheckTime);
    form().InputGridSelectCell(1, 2);
    EXPECT_EQ(dialogs.Texts().size(), 1u);
}

// Coming back from another window saves the time typed before, completed.
TEST_F(PassingInput, ActivationSavesATypedTimeCompleted) {
    openRace();
    counts(1, 1, 2);
    form().MainPage.ShowPage(2);
    for (auto [col, row, text] : {std::tuple{1, 2, "1"}, {2, 2, "93512"}, {1, 3, "2"}})
        grid().SetCells(col, row, text);
    typeAt(2, 3, U"40");
    form().FormActivate();
    Start(); // nothing saved at a close
    openRace();
    LoadInputBlob();
    EXPECT_EQ(cell(2, 3), "93540");
}

TEST_F(PassingInput, CompletionKeepsLeadingZeroDigitsAndCarriesNoWarningWhenLater) {
    EXPECT_EQ(form().CompleteTimeFromAbove("55", "93512"), "93555");
    EXPECT_EQ(form().CompleteTimeFromAbove("559", "93512"), "93559");
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_EQ(form().CompleteTimeFromAbove("05", "93512"), "93505");
    EXPECT_EQ(dialogs.Joined(), kCheckTime);
    dialogs.ClearLog();
    EXPECT_EQ(form().CompleteTimeFromAbove("", "93512"), "");
    EXPECT_EQ(form().CompleteTimeFromAbove("40", ""), "40");
    EXPECT_EQ(dialogs.Joined(), kAboveEmpty);
}

TEST_F(PassingInput, CompletionOfAnOversizedCodeAboveStaysAsTyped) {
    // A ten-digit code above (pasted, not typed) would complete beyond the int range.
    EXPECT_EQ(form().CompleteTimeFromAbove("999999999", "2147483647"), "999999999");
    EXPECT_EQ(form().CompleteTimeFromAbove("5", "2147483647"), "2147483645");
}

TEST_F(PassingInput, EnterCompletesOnlyTimeCellsBelowTheFirstPassing) {
    grid().SetCells(2, 2, "93512");
    typeAt(2, 2, U"\r"); // nothing typed: only the walk
    EXPECT_EQ(cell(2, 2), "93512");
    EXPECT_EQ(grid().CurRow(), 3);

    grid().SetCellsQuiet(4, 1, "93512"); // even a time in the title row is not completed from
    typeAt(4, 2, U"40\r");
    EXPECT_EQ(cell(4, 2), "40");
    EXPECT_EQ(grid().CurRow(), 3);

    grid().SetCells(1, 2, "12");
    typeAt(1, 3, U"5\r"); // number column
    EXPECT_EQ(cell(1, 3), "5");

    typeAt(6, 3, U"40\r"); // empty above
    EXPECT_EQ(cell(6, 3), "40");
    EXPECT_EQ(dialogs.Joined(), kAboveEmpty);

    grid().SetCurrent(2, 7);
    char32_t enter = Key::Enter;
    form().InputGridKeyPress(enter);
    EXPECT_EQ(enter, Key::Enter); // last row: nowhere to go, the grid ends the edit
    EXPECT_EQ(grid().CurRow(), 7);
}

TEST_F(PassingInput, OnlyDigitsAndBackspaceAreTyped) {
    typeAt(2, 2, U"1a2.3 4\b5");
    EXPECT_EQ(cell(2, 2), "1235");
}

TEST_F(PassingInput, SevenTypedCharactersBlockFurtherDigits) {
    grid().SetCells(2, 2, "1000000");
    typeAt(2, 3, U"12345678");
    EXPECT_EQ(cell(2, 3), "1234567");
    keys(U"\b9");
    EXPECT_EQ(cell(2, 3), "1234569");
    typeAt(2, 3, U"\r"); // a full cell still completes and moves on
    EXPECT_EQ(grid().CurRow(), 4);
}

// A full cell takes a new text when the key starts one (the editor was not open), and
// Tab, Escape and Enter always reach the grid.
TEST_F(PassingInput, FullCellKeys) {
    grid().SetCurrent(2, 3);
    grid().SetCells(2, 3, "9999999");
    struct Case {
        int typing;
        char32_t in, out;
    } cases[] = {{0, U'4', U'4'},       {-1, U'4', Key::None},          {7, U'4', Key::None},
                 {6, U'4', U'4'},       {7, Key::Backspace, Key::Backspace}, {7, Key::Escape, Key::Escape},
                 {7, Key::Tab, Key::Tab}, {0, U'x', Key::None}};
    for (const Case& c : cases) {
        grid().SetTypingLength(c.typing);
        char32_t key = c.in;
        form().InputGridKeyPress(key);
        EXPECT_EQ(key, c.out) << "typing " << c.typing << " key " << static_cast<int>(c.in);
    }
    grid().SetTypingLength(-1);
}

TEST_F(PassingInput, HundredthsAllowNineCharacters) {
    form().chk100.SetChecked(true);
    grid().SetCells(2, 2, "101500000"); // 10:15:00.00
    typeAt(2, 3, U"1634567\r");
    EXPECT_EQ(cell(2, 3), "101634567");
    EXPECT_EQ(grid().CurRow(), 4);
    EXPECT_TRUE(dialogs.Texts().empty());

    typeAt(2, 4, U"1234567890\r");
    EXPECT_EQ(cell(2, 4), "123456789");
    EXPECT_EQ(grid().CurRow(), 5);

    // The clock window's grid keeps the same limit; other grids never take this handler.
    StringGrid clock;
    clock.SetTag(10);
    clock.SetColCount(3);
    clock.SetCurrent(2, 2);
    clock.SetCells(2, 2, "12345678");
    char32_t key = U'9';
    form().InputGridKeyPress(clock, key);
    EXPECT_EQ(key, U'9');
}

TEST_F(PassingInput, ClockGridCompletesInItsTimeColumnFromRowTwo) {
    StringGrid clock;
    clock.SetTag(10);
    clock.SetColCount(3);
    clock.SetRowCount(5);
    clock.SetCells(2, 1, "93512");
    clock.SetCells(2, 2, "40");
    clock.SetCurrent(2, 2);
    char32_t key = Key::Enter;
    form().InputGridKeyPress(clock, key);
    EXPECT_EQ(key, Key::None);
    EXPECT_EQ(clock.Cells(2, 2), "93540");
    EXPECT_EQ(clock.CurRow(), 3);
}

TEST_F(PassingInput, DuplicateNumbersAreMarkedFromTheirSecondRow) {
    grid().SetCells(1, 2, "7");
    grid().SetCells(1, 3, "3");
    grid().SetCells(1, 4, "7");
    grid().SetCells(1, 5, "07");
    grid().SetCells(3, 2, "3"); // another leg: no clash
    CellStyle first = form().InputGridDrawCell(1, 2);
    EXPECT_EQ(first.Text, "7");
    EXPECT_EQ(first.Align, CellAlign::Center);
    EXPECT_FALSE(first.StrikeOut);
    EXPECT_EQ(first.FontColor, -1);
    EXPECT_FALSE(form().InputGridDrawCell(1, 3).StrikeOut);
    EXPECT_FALSE(form().InputGridDrawCell(3, 2).StrikeOut);
    for (int row : {4, 5}) {
        CellStyle dup = form().InputGridDrawCell(1, row);
        EXPECT_TRUE(dup.Bold && dup.StrikeOut) << row;
        EXPECT_EQ(dup.FontColor, clRed) << row;
    }
}

TEST_F(PassingInput, EmptyAndZeroNumbersAreNoDuplicates) {
    grid().SetCells(1, 3, "0");
    grid().SetCells(1, 4, "0");
    EXPECT_FALSE(form().InputGridDrawCell(1, 4).StrikeOut);
}

TEST_F(PassingInput, RestartColoursTimesAtOrAfterItGreen) {
    kuriage(1, "-120000");
    grid().SetCells(2, 2, "115959");
    grid().SetCells(2, 3, "120000");
    grid().SetCells(2, 4, "120512");
    CellStyle before = form().InputGridDrawCell(2, 2);
    EXPECT_EQ(before.FontColor, -1);
    EXPECT_FALSE(before.Bold);
    for (int row : {3, 4}) {
        CellStyle st = form().InputGridDrawCell(2, row);
        EXPECT_EQ(st.FontColor, clGreen) << row;
        EXPECT_TRUE(st.Bold) << row;
    }
    CellStyle title = form().InputGridTitleMark(2);
    EXPECT_EQ(title.Text, "12ﾟ00'00\"");
    EXPECT_EQ(title.FontColor, clGreen);
    EXPECT_TRUE(title.Bold);
    EXPECT_EQ(title.Align, CellAlign::BottomRight);
    EXPECT_EQ(form().InputGridTitleMark(4).Text, "");
}

TEST_F(PassingInput, AdvancedStartColoursItsPassingRedAndLaterOnesBlue) {
    kuriage(2, "120000");
    grid().SetCells(4, 2, "115959");
    grid().SetCells(4, 3, "120000");
    grid().SetCells(4, 4, "120001");
    EXPECT_EQ(form().InputGridDrawCell(4, 2).FontColor, -1);
    CellStyle at = form().InputGridDrawCell(4, 3);
    EXPECT_EQ(at.FontColor, clRed);
    EXPECT_FALSE(at.Bold);
    EXPECT_EQ(at.Text, "12ﾟ00'00\"");
    EXPECT_EQ(at.Align, CellAlign::Right);
    EXPECT_EQ(form().InputGridDrawCell(4, 4).FontColor, clBlue);
    EXPECT_EQ(form().InputGridDrawCell(2, 3).FontColor, -1); // leg 1 has none
    CellStyle title = form().InputGridTitleMark(4);
    EXPECT_EQ(title.FontColor, clRed);
    EXPECT_FALSE(title.Bold);
}

TEST_F(PassingInput, ReservedRowsTitlesAndSeparators) {
    form().EntryTeamNum = 4;
    EXPECT_EQ(form().InputGridDrawCell(3, 5).Background, -1);
    EXPECT_EQ(form().InputGridDrawCell(3, 6).Background, clSilver);
    EXPECT_EQ(form().InputGridDrawCell(0, 7).Background, clSilver);

    CellStyle title = form().InputGridDrawCell(2, 0);
    EXPECT_EQ(title.Text, "1 区");
    EXPECT_TRUE(title.Bold);
    EXPECT_EQ(title.Align, CellAlign::TopLeft);
    EXPECT_TRUE(title.LineRight);

    grid().SetCells(1, 0, "No."); // as a clipboard copy leaves it
    CellStyle overNumbers = form().InputGridDrawCell(1, 0);
    EXPECT_EQ(overNumbers.Text, "");
    EXPECT_FALSE(overNumbers.LineRight);

    CellStyle numberTitle = form().InputGridDrawCell(1, 1);
    EXPECT_EQ(numberTitle.Text, "No.");
    EXPECT_EQ(numberTitle.Align, CellAlign::Center);
    EXPECT_TRUE(numberTitle.LineRight);

    CellStyle order = form().InputGridDrawCell(0, 3);
    EXPECT_EQ(order.Text, "2");
    EXPECT_EQ(order.Align, CellAlign::Center);
    EXPECT_TRUE(order.LineRight);
    EXPECT_FALSE(form().InputGridDrawCell(2, 3).LineRight);
}

TEST_F(PassingInput, FocusEnablesTheInputActions) {
    Action* actions[] = {&form().OutputResult,       &form().OpenKuriageForm, &form().OpenClockInputForm,
                         &form().OpenDelayInfForm,   &form().deleteClockLog,  &form().saveInputData,
                         &OutputForm->OpenPrintParam};
    grid().SetEditing(false);
    form().InputGridEnter(grid());
    EXPECT_TRUE(grid().Editing());
    for (Action* a : actions)
        EXPECT_TRUE(a->Enabled()) << a->Name();
    form().InputGridExit(grid());
    for (Action* a : actions)
        EXPECT_FALSE(a->Enabled()) << a->Name();
}

TEST_F(PassingInput, EditsOfEitherGridMarkTheInputDirty) {
    grid().ClearModified();
    form().InputGridSetEditText(grid(), 2, 2, "");
    EXPECT_FALSE(grid().Modified()); // unchanged text
    form().InputGridSetEditText(grid(), 2, 2, "1");
    EXPECT_TRUE(grid().Modified());

    grid().ClearModified();
    form().InputGridSetEditText(form().tempKukanGrid, 2, 2, "93512");
    EXPECT_EQ(form().tempKukanGrid.Cells(2, 2), "93512");
    EXPECT_TRUE(grid().Modified());
}

TEST_F(PassingInput, HundredthsSwitchRepaintsTheGrid) {
    int repaints = 0;
    grid().LayoutChanged.connect([&] { ++repaints; });
    form().chk100.SetChecked(true);
    EXPECT_EQ(repaints, 1);
}

// The passing data survive a save, a new run of the program and a reload.
TEST_F(PassingInput, PassingDataRoundTripThroughTheRaceFile) {
    openRace();
    counts(2, 1, 3);
    typeAt(1, 2, U"3");
    typeAt(2, 2, U"93512");
    typeAt(1, 3, U"21");
    typeAt(2, 3, U"40\r");
    typeAt(3, 4, U"1");
    typeAt(4, 4, U"1104512");
    ASSERT_TRUE(grid().Modified());
    form().saveInputDataExecute();
    EXPECT_FALSE(grid().Modified());

    Start();
    openRace();
    ASSERT_EQ(grid().ColCount(), 5);
    LoadInputBlob();
    EXPECT_EQ(grid().Row(2), (std::vector<std::string>{"1", "3", "93512", "", ""}));
    EXPECT_EQ(grid().Row(3), (std::vector<std::string>{"2", "21", "93540", "", ""}));
    EXPECT_EQ(grid().Row(4), (std::vector<std::string>{"3", "", "", "1", "1104512"}));
    EXPECT_FALSE(grid().Modified());
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
}
