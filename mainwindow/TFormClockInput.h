#pragma once
// Clock times of one relay point turned into passing times of that leg: elapsed times
// of a stopwatch started at a known clock time (経過ﾀｲﾑ), or times of day (通過時刻).
// Modal; "書込" writes the result into the main window's input grid.
#include "mainwindow/TMainForm.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <array>
#include <string>
#include <vector>

constexpr int kClockLegs = 50;

class TFormClockInput : public FormBase {
  public:
    TFormClockInput();

    // ---- Components ----
    Control MainPanel{"MainPanel"};
    Label Lbl_KName{"Lbl_KName"};
    Label lblTimeGap{"lblTimeGap"};
    Label Label5{"Label5"};
    Label Label6{"Label6"}; // split count
    Action CnvExeBtn{"CnvExeBtn", "書込"};
    Action ButtonPlus{"ButtonPlus", "+"};
    Action ButtonMinus{"ButtonMinus", "-"};
    Control GroupBoxStartTime{"GroupBoxStartTime"};
    SpinEdit StartTimeHourSpin{"StartTimeHourSpin"};
    SpinEdit StartTimeMinSpin{"StartTimeMinSpin"};
    Label lblSecond{"lblSecond"};
    Control GroupBox2{"GroupBox2"};
    SpinEdit ClockTimeHourSpin{"ClockTimeHourSpin"};
    SpinEdit ClockTimeMinSpin{"ClockTimeMinSpin"};
    Control GroupBox3{"GroupBox3"};
    Action timCnvSpeed{"timCnvSpeed", "←"};   // back: passing time to clock time
    Action timCnvSpeed2{"timCnvSpeed2", "→"}; // forward: clock time to passing time
    RadioButton RadioButton1{"RadioButton1"}; // 経過ﾀｲﾑ
    RadioButton RadioButton2{"RadioButton2"}; // 通過時刻
    // Columns "順", "No.", the typed times, the computed passing times.
    StringGrid ClocInputStringGrid{"ClocInputStringGrid"};
    StringGrid InputTestGrid{"InputTestGrid"}; // import buffer
    Action N3{"N3", "ﾊﾞｯﾌｧを表示"};            // Tag 1 while the buffer is shown
    Action SortbyTime1{"SortbyTime1", "Sort by GrossTime"};
    Action SortbyPastTime1{"SortbyPastTime1", "Sort by PastTime"};
    Action SortbyZekken1{"SortbyZekken1", "Sort by No."};
    Action N1{"N1", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ取込"};
    Action TSV1{"TSV1", "TSV"};
    FileDialogRequest SaveDialog2{"", "CSV|*.csv|TXT|*.txt", "", "", "csv"};
    FileDialogRequest OpenDialog2{"", "CSV|*.csv|TXT|*.txt", "", "", "csv;txt"};
    // The window's menu; its file and clipboard items are main-window actions.
    std::vector<MenuDef> MainMenu1();

    // ---- State ----
    bool GridSorted = false;
    bool DataWritten = false;
    int KukanNo = 1;
    int TimeCol = 2;
    int FileLeg = -1, FileInvoke = -1;
    // Seconds of the day: element 0 the race start, element k the clock start of leg k.
    std::array<int, kClockLegs + 1> ClockStartTimes{};
    int ClockGap = 0; // clock start of the leg minus the race start, in seconds

    // ---- Operations ----
    void SetupClockGrid();
    // Seconds of the day of hour:minute:00 (hour 0..23, minute 0..59).
    static int ClockToDateTime(int hour, int minute);
    // direction 1 forward (clock time to passing time), 0 back.
    int ClockOffsetConvert(int code, int direction) const;
    void AccumulateLegTimes();
    void SortClockGrid(int col);
    // Closing as the close box, Escape and "閉じる" do; false when the question kept it open.
    bool CloseWindow();

    // ---- Clock-time files and the clipboard (ClockCsv.cpp) ----
    // The import buffer InputTestGrid from a file or the clipboard's text; false on failure.
    bool ImportClockCsv(const std::string& fileName, bool fromClipboard);
    // The buffer into the clock grid (one file or the clipboard).
    void MergeClockBuffer();
    // The buffer of the index-th of several files into the free rows; 1 = stop.
    int AppendClockBuffer(int fileIndex);
    void OpenClockCsvFile();
    void ImportClipboardGrid();
    void SaveClockCsv();
    // The value of the text's digits; 0 for none or more than a 32-bit value.
    static int DigitsValue(const std::string& text);
    // The team meant by a number (1..999, as it stands) or a team name; 0 for none.
    static int TeamNumberFromText(const std::string& text);

    // ---- Handlers ----
    void FormShow();
    bool FormCloseQuery();
    void StartTimeHourSpinChange(SpinEdit& spin);
    void timCnvSpeedClick() { convertColumn(0); }
    void timCnvSpeed2Click() { convertColumn(1); }
    void CnvExeBtnClick();
    void RadioButton1Click();
    void ButtonPlusClick(const Action& button);
    CellStyle ClocInputStringGridDrawCell(int col, int row) const;
    void ClocInputStringGridEnter();
    void ClocInputStringGridKeyPress(char32_t& key);
    bool ClocInputStringGridSelectCell(int col, int row) const;
    void N3Click();
    void SortbyTime1Click() { SortClockGrid(3); }
    void SortbyPastTime1Click() { SortClockGrid(2); }
    void SortbyZekken1Click() { SortClockGrid(1); }
    // Opening the clipboard menu offers the import that fits the clipboard's separator.
    void N1Click();
    void TSV1Click();

  private:
    void wire();
    bool elapsedMode() const { return RadioButton1.Checked(); }
    // Seconds, or hundredths while the race counts them.
    int unit() const;
    void setSpinsFromTimes();
    // The leg's numbers and passing times from the input grid; typed times emptied.
    void loadLegCells();
    void updateGapLabel();
    int inUseRows() const; // teams less the absent ones
    void convertColumn(int direction);
    bool writeConfirmed();
    bool clearTargetConfirmed();
    // One "1秒" step of a typed time; false when the cell stays as it is.
    bool stepCell(int row, int step);
    void setBufferShown(bool shown);
    // Clock-time files (ClockCsv.cpp).
    bool readBufferText(const std::string& text);
    void changeLegTo(int leg);
    void offerFileInvoke();
    // 0 no doubtful number; else the answer to the number question (mrYes, mrNo).
    int askNumberCheck();
    void placeBufferRow(int bufferRow, int gridRow);
};
