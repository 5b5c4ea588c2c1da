#pragma once
// Advanced starts (繰上) and restarts (再出発) per relay point: the working copy of
// the edition's advanced-start blob. Modeless and on top of the main window.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <string>

class TFormKuriage : public FormBase {
public:
    TFormKuriage();

    // Column 1 "実施タイム": a time code, positive = advanced start, negative = restart
    // at the absolute value, empty = none. Columns 2-3 are the gaps, recomputed.
    StringGrid KuriageGrid{"KuriageGrid"};

    // Tool bar.
    Action ToolButtonCopy{"ToolButtonCopy", "入力Gよりコピー"};
    Action ToolButton2{"ToolButton2", "繰り上げ"};
    Action ToolButton3{"ToolButton3", "再出発"};
    Action ToolButton4{"ToolButton4", "ﾘﾌﾚｯｼｭ"};
    Action ToolButton6{"ToolButton6", "CSV出力"};
    Action ToolButton5{"ToolButton5", "閉じる"};
    // Pop-up menu of the grid.
    Action MenuGetFromInputG{"MenuGetFromInputG", "入力Ｇよりｺﾋﾟｰ"};
    Action N1{"N1", "繰り上げ"};
    Action N2{"N2", "再出発"};
    Action N3{"N3", "ﾘﾌﾚｯｼｭ"};
    StatusBar StatusBar1{"StatusBar1"};

    // Column 1 changed since the edition's blob was last written; the input save
    // writes the blob when set and clears it.
    bool FTimeDirty = false;
    // A cell was edited / kuriage.csv was written since the window was shown.
    bool Edited() const { return edited_; }
    bool Exported() const { return exported_; }

    // Layout for the current number of legs: rows 1 .. legs-1 are the relay points.
    void SetupKuriageGrid(StringGrid& grid, int legs);
    // A new leg count: the layout follows, the times of the remaining relay points stay.
    void FollowLegCount(int legs);

    void UpdateKuriageRow();
    // False when an advanced start lies after the last passing at its relay point.
    bool RefreshKuriageGaps();
    void SetKuriageSign(int mode);
    bool CanCopyFromInputGrid();
    bool ExportKuriageCsv();

    // ---- Handlers ----
    void FormShow();
    void FormActivate() { CanCopyFromInputGrid(); }
    void FormDeactivate() { CanCopyFromInputGrid(); }
    void KuriageGridMouseDown(int col, int row);
    // False for a cell that may not be selected.
    bool KuriageGridSelectCell(int col, int row);
    void KuriageGridClick();
    void KuriageGridSetEditText(int col, int row, const std::string& text);
    void KuriageGridKeyPress(char32_t& key);
    void ToolButton2Click();
    void ToolButton3Click();
    void ToolButton4Click();
    void ToolButtonCopyClick();
    void ToolButton6Click();
    void ToolButton5Click();
    // True when the window may close.
    bool FormCloseQuery();
    void FormClose();
    // Closing as the close box does: the question, the close handler, then hidden.
    bool CloseWindow();
    CellStyle KuriageGridDrawCell(int col, int row) const;

private:
    void wireActions();
    int cellInt(int col, int row) const;
    void setStartTime(int row, const std::string& text);
    void clearGaps(int row);
    void dropZeroStart(int row);
    bool fillGaps(int row, int t);
    std::string drawText(int col, const std::string& text) const;

    bool edited_ = false;
    bool exported_ = false;
    bool typedSinceEnter_ = false; // Enter after typing stays for the sign buttons
};
