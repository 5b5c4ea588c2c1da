#pragma once
// String grid model: the working copy of the open edition lives in these.
#include "platform/Controls.h"

#include <string>
#include <vector>

struct GridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const GridRect&) const = default;
};

// Alignment of a cell's text as the painter draws it.
enum class CellAlign { Left, Center, Right, BottomRight, TopLeft };

// What the Qt delegate asks a form about one cell; it only paints.
struct CellStyle {
    CellAlign Align = CellAlign::Left;
    std::string Text;          // text to draw (may differ from the cell text)
    int FontColor = -1;        // 0xRRGGBB, -1 default
    int Background = -1;       // 0xRRGGBB, -1 default
    bool Bold = false;
    bool StrikeOut = false;
    bool LineBelow = false;    // separator line under the cell
    bool LineRight = false;    // separator line right of the cell
};

class StringGrid : public Control {
public:
    explicit StringGrid(std::string name = {}) : Control(std::move(name)) { resizeCells(); }

    int ColCount() const { return cols_; }
    int RowCount() const { return rows_; }
    void SetColCount(int n);
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    void SetFixedCols(int n);
    void SetFixedRows(int n);

    // A cell outside the grid reads "" and a write there is ignored.
    const std::string& Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    // Sets a cell without marking the grid modified (layout titles, loads).
    void SetCellsQuiet(int col, int row, const std::string& text);
    std::vector<std::string> Row(int row) const;
    void ClearRow(int row);
    void ClearAll(); // every cell, titles and cells beyond the counts included
    // Forgets the cells kept beyond the counts (an edition is loaded) and their memory.
    void DropHiddenCells();
    // Every cell replaced by these rows, each keeping just its own cells (a file read
    // whole); the counts stay as they are set. One LayoutChanged.
    void ReplaceCells(std::vector<std::vector<std::string>> rows);
    // The cell places the grid holds memory for (rows and cells of every row).
    size_t CellsHeld() const;

    // Current cell.
    int Col() const { return col_; }
    int CurRow() const { return row_; }
    void SetCol(int c);
    void SetRow(int r);
    void SetCurrent(int c, int r);
    GridRect Selection() const { return sel_; }
    void SetSelection(GridRect r);

    // Column widths as sample texts (the view measures them in its own font);
    // a row height as a factor of the width of a sample text, 0 = default.
    std::string ColSample(int col) const;
    void SetColSample(int col, const std::string& sample);
    double RowHeightFactor(int row) const;
    std::string RowHeightSample() const { return rowHeightSample_; }
    void SetRowHeight(int row, double factor, const std::string& sample);

    bool Editing() const { return editing_; }
    void SetEditing(bool v) { set(editing_, v); }
    // A cell's in-place editor is open (kept by the view): what it shows is the user's.
    bool EditorOpen() const { return editorOpen_; }
    void SetEditorOpen(bool v) { set(editorOpen_, v); }
    // While a key handler runs: the characters of the text the key goes into (0 when the
    // key starts a new text, a selection not counted); -1 when unknown (the whole cell).
    int TypingLength() const { return typingLength_; }
    void SetTypingLength(int n) { typingLength_ = n; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v) { set(rowSelect_, v); }

    // Dirty tracking: any change of a cell marks the grid modified.
    bool Modified() const { return modified_; }
    // Setting the flag with no row marked marks every row: the change is somewhere.
    void SetModified(bool v);
    // Clears the flag and the row marks (the grid was loaded or saved).
    void ClearModified();
    // Rows changed since the grid was last loaded or saved: their cells were set, or
    // they came back into the row count (kept cells the tables no longer hold).
    bool RowModified(int row) const;

    // Cells set between these (loads) give one LayoutChanged at the end instead of a
    // CellChanged each. They nest.
    void BeginUpdate() { ++updating_; }
    void EndUpdate();

    Signal<int, int> CellChanged; // col, row
    Signal<> LayoutChanged;       // counts, fixed parts, widths
    Signal<> CurrentChanged;      // current cell or selection

private:
    void resizeCells();
    void markRow(int row) { rowMarks_[row] = true; }

    std::vector<std::vector<std::string>> cells_; // [row][col], each row up to its last cell written
    std::vector<std::string> colSamples_;
    std::vector<double> rowFactors_;
    std::string rowHeightSample_;
    int cols_ = 5, rows_ = 5;
    int fixedCols_ = 1, fixedRows_ = 1;
    int col_ = 1, row_ = 1;
    GridRect sel_{1, 1, 1, 1};
    bool editing_ = true;
    bool editorOpen_ = false;
    int typingLength_ = -1;
    bool rowSelect_ = false;
    bool modified_ = false;
    std::vector<bool> rowMarks_; // as long as cells_
    int updating_ = 0;
    bool updatedCells_ = false;
};

// BeginUpdate / EndUpdate for a scope.
class GridUpdate {
public:
    explicit GridUpdate(StringGrid& g) : g_(g) { g_.BeginUpdate(); }
    ~GridUpdate() { g_.EndUpdate(); }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    StringGrid& g_;
};
