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

    GridOptions Options() const { return options_; }
    void SetOptions(const GridOptions& options);

    // What the painter draws in a cell; the cell's text as the component keeps it.
    virtual CellStyle DrawCell(int col, int row) const = 0;
    virtual std::string CellText(int col, int row) const = 0;
    bool IsFixed(int row) const { return row < kFixedRows; }
    static constexpr int kGridLineWidth = 1;
    static constexpr int kFixedRows = 1;

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
    // Counts and texts are read again and everything is repainted.
    void Refresh();
    // Sizes every column and row alike.
    void SetCellSize(int colWidth, int rowHeight);
    // Moves the view's current cell without reporting it as the user's move.
    void ShowCurrent(int col, int row);
    void ResizeCells();
    void resizeEvent(QResizeEvent* e) override;

  private:
    friend class ComponentGridModel;
    ComponentGridModel* model_;
    DrawCellHook onDrawCell_;
    GridOptions options_;
    bool syncing_ = false;
    bool currentOnly_ = false;
};

} // namespace components
