#pragma once
// The table view both grid components stand on: row 0 (the fixed row) is drawn as
// header cells inside the table, there are no scroll bars, the cells are sized by the
// component's own rule whenever the control is resized, and each cell is painted from
// the component's cell style after the owner-drawn hook.
#include "components/ComponentTypes.h"
#include "platform/StringGrid.h"

#include <QTableView>

#include <functional>
#include <string>

class QPainter;

namespace components {

class ComponentGridModel;

class ComponentGrid : public QTableView {
    Q_OBJECT
  public:
    // Runs before the built-in drawing of every cell (the cell's background is laid).
    using DrawCellHook = std::function<void(QPainter& painter, int col, int row, const QRect& rect)>;
    void SetOnDrawCell(DrawCellHook hook) { onDrawCell_ = std::move(hook); }
    const DrawCellHook& OnDrawCell() const { return onDrawCell_; }
    bool KeepsCellColours() const { return keepCellColours_; }

    GridOptions Options() const { return options_; }
    void SetOptions(const GridOptions& options);
    // The options as a designer sets them: one flag per member of GridOptions.
    enum GridOption {
        Lines = 0x1,
        RangeSelect = 0x2,
        DrawFocusSelected = 0x4,
        RowSelect = 0x8,
        Editing = 0x10,
    };
    Q_DECLARE_FLAGS(GridOptionSet, GridOption)
    Q_FLAG(GridOptionSet)
    GridOptionSet GetOptionSet() const;
    void SetOptionSet(GridOptionSet options);

    // What the painter draws in a cell; the cell's text as the component keeps it.
    virtual CellStyle DrawCell(int col, int row) const = 0;
    virtual std::string CellText(int col, int row) const = 0;
    bool IsFixed(int row) const { return row < kFixedRows; }
    static constexpr int kFixedRows = 1;

    // Typed characters do not search the cells: these grids move by arrow and paging
    // keys alone (an editable grid still takes them as the start of an edit).
    void keyboardSearch(const QString&) override {}

  protected:
    explicit ComponentGrid(QWidget* parent);
    // Counts as the component has them now; a change of a count resets the view.
    virtual int ColCount() const = 0;
    virtual int RowCount() const = 0;
    virtual void SetCellText(int, int, const std::string&) {}
    // The user moved the current cell there (mouse or keys).
    virtual void CurrentMoved(int, int) {}
    // The resize handler: gives the cells their sizes for the new client size.
    virtual void WMSize(int width, int height) = 0;

    // The current cell is all that is selected, whatever the options say.
    void SelectCurrentOnly();
    // The component's cell colours are painted over the selection's highlight.
    void KeepCellColours() { keepCellColours_ = true; }
    // Counts and texts are read again and everything is repainted. A cell stays current:
    // the one before when its row remains, else one in the first non-fixed row.
    void Refresh();
    // Sizes every column and row alike.
    void SetCellSize(int colWidth, int rowHeight);
    // Moves the view's current cell without reporting it as the user's move.
    void ShowCurrent(int col, int row);
    void ResizeCells();
    void resizeEvent(QResizeEvent* e) override;
    // Tab in a cell's editor keeps the text and goes on to the next control, not the next cell.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    friend class ComponentGridModel;
    void keepCurrent(const QModelIndex& before);
    ComponentGridModel* model_;
    DrawCellHook onDrawCell_;
    GridOptions options_;
    bool syncing_ = false;
    bool currentOnly_ = false;
    bool keepCellColours_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ComponentGrid::GridOptionSet)

} // namespace components
