#include "mainwindow/TFormDelayInf.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {
constexpr int kMaxCellChars = 7;
constexpr const char* kCheckFailed =
    "チーム番号が重複しているか、存在しない番号が含まれています。\n保存しません。\nフォームを閉じますか?";
} // namespace

TFormDelayInf::TFormDelayInf() : FormBase("TFormDelayInf") {
    SetCaption("待機情報");
    DelayStringGrid.SetFixedCols(0);
}

void TFormDelayInf::FormShow() {
    DelayStringGrid.SetIme(ImeMode::Close);
    DelayStringGrid.SetEditing(true);
}

bool TFormDelayInf::FormClose() {
    if (MainForm->CheckDelayGrid() == -1)
        return Dlg().MessageDlg(kCheckFailed, MsgKind::Confirmation, Btn::YesNo) == mrYes;
    MainForm->SaveDelayGrid();
    return true;
}

bool TFormDelayInf::CloseWindow() {
    if (!FormClose()) return false;
    Close();
    SetModalResult(mrOk);
    return true;
}

// Enter walks number -> time -> the next row's number, adding a row at the end.
void TFormDelayInf::DelayStringGridKeyPress(char32_t& key) {
    StringGrid& g = DelayStringGrid;
    const int col = g.Col(), row = g.CurRow();
    // Tab moves between cells and Escape closes: neither types anything.
    if (key == Key::Tab || key == Key::Escape) return;
    if (static_cast<int>(ToU32(g.Cells(col, row)).size()) >= kMaxCellChars) {
        if (key != Key::Backspace) key = Key::None;
        return;
    }
    if (key != Key::Enter) {
        TMainForm::FilterNumberKey(key, 1);
        return;
    }
    key = Key::None;
    if (col == 1 && row == g.RowCount() - 1) g.SetRowCount(g.RowCount() + 1);
    g.SetCurrent(col == 1 ? 0 : 1, col == 1 ? row + 1 : row);
}

CellStyle TFormDelayInf::DelayStringGridDrawCell(int col, int row) const {
    CellStyle st;
    st.Text = DelayStringGrid.Cells(col, row);
    st.Align = CellAlign::Center;
    if (row >= DelayStringGrid.FixedRows() && col == 1) {
        st.Text = MainForm->TimeToDisplayText(st.Text);
        st.Align = CellAlign::Right;
    }
    return st;
}
