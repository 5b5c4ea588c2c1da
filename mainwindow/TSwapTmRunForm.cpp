#include "mainwindow/TSwapTmRunForm.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMinRows = 5, kMaxRows = 20;
constexpr int kComboRows = 30;

std::vector<int> selectedItems(const ListBox& box) {
    std::vector<int> out;
    for (int i = 0; i < box.Count(); ++i)
        if (box.Selected(i)) out.push_back(i);
    return out;
}

} // namespace

TSwapTmRunForm::TSwapTmRunForm() : FormBase("TSwapTmRunForm") {
    SetCaption("選手交換");
    for (ListBox* box : {&ListBox1, &ListBox2})
        box->SetMultiSelect(true);
    for (ComboBox* box : {&ComboBoxKumiA, &ComboBoxKumiB})
        box->SetDropDownCount(kComboRows);
    SwapBtn.OnExecute = [this] { SwapBtnClick(); };
    BtnClear.OnExecute = [this] { BtnClearClick(); };
}

ListBox& TSwapTmRunForm::list(int side) {
    return side == SideA ? ListBox1 : ListBox2;
}
ComboBox& TSwapTmRunForm::combo(int side) {
    return side == SideA ? ComboBoxKumiA : ComboBoxKumiB;
}
int& TSwapTmRunForm::markedRow(int side) {
    return side == SideA ? MainForm->MarkedRowA : MainForm->MarkedRowB;
}

int TSwapTmRunForm::teamOf(int side) {
    return StrToIntDef(MainForm->TeamEntryGrid.Cells(0, markedRow(side)), 0);
}

void TSwapTmRunForm::FormShow() {
    VisibleRows = std::clamp(ListBox1.Count(), kMinRows, kMaxRows);
}

void TSwapTmRunForm::fillCombo(ComboBox& box) {
    box.Clear();
    for (int t = 1; t <= MainForm->TeamNum; ++t)
        box.Add(Format("%2d %s", t, Trim(MainForm->TeamEntryGrid.Cells(1, t)).c_str()));
}

void TSwapTmRunForm::FillSwapLists() {
    fillCombo(ComboBoxKumiA);
    fillCombo(ComboBoxKumiB);
    FillSwapList(SideA);
    FillSwapList(SideB);
}

std::string TSwapTmRunForm::runnerItem(int team, int slot) const {
    const std::string name = MainForm->RunnerNameText(team, slot, 0);
    if (slot == 0) return "監) " + name;
    if (slot <= MainForm->KukanNum) return Format("%2d) %s", slot, name.c_str());
    return "補) " + name;
}

void TSwapTmRunForm::FillSwapList(int side) {
    const StringGrid& teams = MainForm->TeamEntryGrid;
    LabelTitle.SetCaption(Format("%s <-> %s", Trim(teams.Cells(1, MainForm->MarkedRowA)).c_str(),
                                 Trim(teams.Cells(1, MainForm->MarkedRowB)).c_str()));
    ListBox& box = list(side);
    std::vector<int> kept;
    if (!ResetSelection[side]) kept = selectedItems(box);
    box.Clear();
    const int team = teamOf(side);
    for (int slot = 0; slot <= MainForm->KukanNum + MainForm->HoketuNum; ++slot)
        box.Add(runnerItem(team, slot));
    for (int i : kept)
        box.SetSelected(i, true);
    combo(side).SetItemIndex(markedRow(side) - 1);
    ResetSelection[side] = false;
}

void TSwapTmRunForm::SwapBtnClick() {
    const std::vector<int> a = selectedItems(ListBox1), b = selectedItems(ListBox2);
    if (a.empty() || a.size() != b.size()) {
        Dlg().ShowMessage("入れ替え選手の数が合っていません。");
        return;
    }
    const int teamA = teamOf(SideA), teamB = teamOf(SideB);
    // A refused pair ends the run; the status counts only the pairs exchanged.
    size_t done = 0;
    while (done < a.size() && MainForm->SwapRunnerRecords(teamA, a[done], b[done], teamB) == 0)
        ++done;
    FillSwapList(SideA);
    FillSwapList(SideB);
    StatusBar1.SetPanel(0, "両チーム各 " + IntToStr(static_cast<long long>(done)) +
                               " 名の入れ替えを行いました。");
}

void TSwapTmRunForm::ComboBoxKumiAClick(int side) {
    ResetSelection[side] = true;
    markedRow(side) = combo(side).ItemIndex() + 1;
    FillSwapList(side);
}

void TSwapTmRunForm::BtnClearClick() {
    for (ListBox* box : {&ListBox1, &ListBox2})
        for (int i = 0; i < box->Count(); ++i)
            box->SetSelected(i, false);
    ResetSelection[SideA] = ResetSelection[SideB] = true;
}

void TSwapTmRunForm::ListBox1Click(int side) {
    ResetSelection[side] = false;
}
