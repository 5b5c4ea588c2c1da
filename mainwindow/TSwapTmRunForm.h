#pragma once
// Exchange of runners between the two teams marked in the team grid: the k-th runner
// selected on the left trades team and slot with the k-th selected on the right.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/ListBox.h"

#include <string>

class TSwapTmRunForm : public FormBase {
  public:
    enum Side { SideA = 0, SideB = 1 };

    TSwapTmRunForm();

    ComboBox ComboBoxKumiA{"ComboBoxKumiA"};
    ComboBox ComboBoxKumiB{"ComboBoxKumiB"};
    ListBox ListBox1{"ListBox1"};
    ListBox ListBox2{"ListBox2"};
    Action SwapBtn{"SwapBtn", "＜-＞"};
    Action BtnClear{"BtnClear", "ｸﾘｱ"};
    Label LabelTitle{"LabelTitle"};
    StatusBar StatusBar1{"StatusBar1"};
    // Per side: the next refill of that list drops its selection.
    bool ResetSelection[2] = {true, true};
    // Height of the lists in rows, fitted to the runners of team A.
    int VisibleRows = 5;

    void FormShow();
    void FillSwapLists();
    void FillSwapList(int side);
    void SwapBtnClick();
    // Both combos and both lists share one handler each.
    void ComboBoxKumiAClick(int side);
    void BtnClearClick();
    void ListBox1Click(int side);

  private:
    ListBox& list(int side);
    ComboBox& combo(int side);
    int& markedRow(int side);
    // The team number in column 0 of the side's marked team row.
    int teamOf(int side);
    std::string runnerItem(int team, int slot) const;
    void fillCombo(ComboBox& box);
};
