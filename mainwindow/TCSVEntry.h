#pragma once
// The CSV entry window: a CSV file shown in a grid, a range marked with the mouse and
// imported as the runners of one team or as a block of teams, one team per row.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <string>
#include <vector>

class TCSVEntry : public FormBase {
public:
    TCSVEntry();

    StringGrid StringGrid1{"StringGrid1"};
    Label Label1{"Label1"};
    Edit editTeamName{"editTeamName"};
    Label Label3{"Label3"};
    Edit editNoCard{"editNoCard"};
    CheckBox getOpt{"getOpt"}; // "監督含む": the range's first name is the coach (slot 0)
    Action getRunnerNameExe{"getRunnerNameExe", "取込実行(&X)"};
    Action initTeamPara{"initTeamPara", "ﾁｰﾑ情報ｸﾘｱ(&C)"};
    Action close{"close", "閉じる(&E)"};
    Action E1{"E1", "戻る(&E)"};
    // The window's menu: the main window's file open, then this window's commands.
    std::vector<Action*> MenuItems() const;

    // The marked range: start (RangeC0, RangeR0), end (RangeC1, RangeR1).
    int RangeC0 = 0, RangeR0 = 0, RangeC1 = 0, RangeR1 = 0;
    bool RangeSet = false;
    Signal<> RangeChanged; // repaint the grid

    void FormShow();
    void FormClose();
    void StringGrid1MouseDown(bool rightButton, bool shift, bool ctrl, int col, int row);
    CellStyle StringGrid1DrawCell(int col, int row) const;
    void initTeamParaExecute();
    void closeExecute();
    void getRunnerNameExeExecute();

    // Runners of the range into team's slots, counted from the range's start plus the
    // offsets; direction 0 down a column, 1 along a row. The number of runners stored.
    int ImportRunnerRange(int team, int count, int rowOffset, int colOffset, int direction,
                          const StringGrid& grid);
    // Names of the last ImportRunnerRange that fell beyond the edition's slots.
    int LastBeyondSlots = 0;
    // One runner record from a name cell ("姓 名" with an optional school year) and its
    // reading; false when the record does not exist (nothing is created).
    bool SetRunnerFromText(int team, int slot, const std::string& name, const std::string& kana);
    static std::string KeepSingleByteChars(const std::string& text);
    static std::string ToFullWidthSpaces(const std::string& text);

private:
    void normaliseRange();
    bool inRange(int col, int row) const;
    void importOneTeam(int direction, int count);
    void importBlock();
    int blockRowTeam(int n, std::vector<bool>& taken);
    void setTeamAlias(int team, int alias);
    std::string kanaAbove(const StringGrid& grid, int col, int row) const;
};
