#include "components/ComponentGrid.h"

#include "gui/QtText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace components {

// The component's cells for Qt; counts are cached so that Qt sees them change only
// through a reset.
class ComponentGridModel : public QAbstractTableModel {
  public:
    explicit ComponentGridModel(ComponentGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols_; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole) return qs(grid_->DrawCell(index.column(), index.row()).Text);
        if (role == Qt::EditRole) return qs(grid_->CellText(index.column(), index.row()));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (grid_->IsFixed(index.row())) return Qt::NoItemFlags;
        const Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return grid_->Options().Editing ? f | Qt::ItemIsEditable : f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole) return false;
        grid_->SetCellText(index.column(), index.row(), ss(value.toString()));
        emit dataChanged(index, index);
        return true;
    }

    void refresh(int cols, int rows) {
        if (cols != cols_ || rows != rows_) {
            beginResetModel();
            cols_ = cols;
            rows_ = rows;
            endResetModel();
        } else if (rows_ > 0 && cols_ > 0) {
            emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        }
    }

  private:
    ComponentGrid* grid_;
    int cols_ = 0, rows_ = 0;
};

namespace {

Qt::Alignment alignmentOf(CellAlign a) {
    switch (a) {
    case CellAlign::Center:
        return Qt::AlignCenter;
    case CellAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlign::BottomRight:
        return Qt::AlignRight | Qt::AlignBottom;
    case CellAlign::TopLeft:
        return Qt::AlignLeft | Qt::AlignTop;
    case CellAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Paints as a grid does: the cell's state colours first (fixed, highlighted or
// plain), then the owner-drawn hook, then the component's style over them.
class ComponentGridDelegate : public QStyledItemDelegate {
  public:
    explicit ComponentGridDelegate(ComponentGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int col = index.column(), row = index.row();
        const QRect rect = option.rect;
        const GridOptions opts = grid_->Options();
        const QModelIndex current = grid_->currentIndex();
        const bool fixed = grid_->IsFixed(row);
        const bool isCurrent = index == current;
        const bool ownSelection = grid_->selectionMode() != QAbstractItemView::NoSelection;
        const bool selected =
            !fixed && (isCurrent || (ownSelection && grid_->selectionModel()->isSelected(index)) ||
                       (opts.RowSelect && current.isValid() && row == current.row()));
        const bool focused = isCurrent && grid_->hasFocus();
        const bool highlight = selected && (!focused || opts.DrawFocusSelected || opts.RowSelect);
        // The view's palette: fixed cells are disabled items, yet drawn in plain colours.
        const QPalette& pal = grid_->palette();
        QColor fore = fixed       ? pal.color(QPalette::ButtonText)
                      : highlight ? pal.color(QPalette::HighlightedText)
                                  : pal.color(QPalette::Text);
        p->save();
        p->fillRect(rect, fixed ? pal.button() : highlight ? pal.highlight() : pal.base());
        if (grid_->OnDrawCell()) grid_->OnDrawCell()(*p, col, row, rect);
        const CellStyle s = grid_->DrawCell(col, row);
        // Unless the component's colours are kept, a highlighted cell keeps the
        // highlight, so the chosen cell shows on every weekday.
        const bool own = !highlight || grid_->KeepsCellColours();
        if (s.Background >= 0 && own) p->fillRect(rect, rgb(s.Background));
        if (s.FontColor >= 0 && own) fore = rgb(s.FontColor);
        p->setPen(fore);
        p->setFont(option.font);
        p->drawText(rect, alignmentOf(s.Align), qs(s.Text));
        // A dotted frame in the text's colour: the style's own focus frame may tint the
        // whole cell, and the cell keeps its colours.
        if (focused && !fixed && !opts.RowSelect) {
            p->setPen(QPen(fore, 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(rect.adjusted(1, 1, -3, -3));
        }
        p->restore();
    }

  private:
    ComponentGrid* grid_;
};

} // namespace

ComponentGrid::ComponentGrid(QWidget* parent) : QTableView(parent), model_(new ComponentGridModel(this)) {
    setModel(model_);
    setItemDelegate(new ComponentGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab and Shift+Tab go to the next and previous control, as in any grid here.
    setTabKeyNavigation(false);
    SetOptions(options_);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& now) {
        if (!syncing_ && now.isValid()) CurrentMoved(now.column(), now.row());
    });
}

void ComponentGrid::SetOptions(const GridOptions& options) {
    options_ = options;
    setShowGrid(options.Lines);
    setSelectionMode(currentOnly_ ? NoSelection : options.RangeSelect ? ExtendedSelection : SingleSelection);
    setSelectionBehavior(options.RowSelect ? SelectRows : SelectItems);
    setEditTriggers(options.Editing ? AnyKeyPressed | DoubleClicked | EditKeyPressed : NoEditTriggers);
    viewport()->update();
}

ComponentGrid::GridOptionSet ComponentGrid::GetOptionSet() const {
    GridOptionSet set;
    set.setFlag(Lines, options_.Lines);
    set.setFlag(RangeSelect, options_.RangeSelect);
    set.setFlag(DrawFocusSelected, options_.DrawFocusSelected);
    set.setFlag(RowSelect, options_.RowSelect);
    set.setFlag(Editing, options_.Editing);
    return set;
}

void ComponentGrid::SetOptionSet(GridOptionSet set) {
    const GridOptions options{set.testFlag(Lines), set.testFlag(RangeSelect), set.testFlag(DrawFocusSelected),
                              set.testFlag(RowSelect), set.testFlag(Editing)};
    if (options != options_) SetOptions(options);
}

void ComponentGrid::SelectCurrentOnly() {
    currentOnly_ = true;
    setSelectionMode(NoSelection);
}

void ComponentGrid::Refresh() {
    const QModelIndex before = currentIndex();
    model_->refresh(ColCount(), RowCount());
    keepCurrent(before);
    viewport()->update();
}

// A new row count resets Qt's current cell; without one the arrow keys and typing
// have nowhere to start (the fixed row takes no cell).
void ComponentGrid::keepCurrent(const QModelIndex& before) {
    const QModelIndex now = currentIndex();
    if (now.isValid() && !IsFixed(now.row())) return;
    const int cols = ColCount(), rows = RowCount();
    if (cols < 1 || rows <= kFixedRows) return;
    const int col = std::clamp(before.column(), 0, cols - 1);
    const int row = before.row() < rows && !IsFixed(before.row()) ? before.row() : kFixedRows;
    ShowCurrent(col, row);
}

void ComponentGrid::SetCellSize(int colWidth, int rowHeight) {
    horizontalHeader()->setDefaultSectionSize(std::max(1, colWidth));
    verticalHeader()->setDefaultSectionSize(std::max(1, rowHeight));
}

void ComponentGrid::ShowCurrent(int col, int row) {
    const QModelIndex index = model_->index(row, col);
    if (!index.isValid() || index == currentIndex()) return;
    syncing_ = true;
    selectionModel()->setCurrentIndex(index, selectionMode() == NoSelection
                                                 ? QItemSelectionModel::NoUpdate
                                                 : QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void ComponentGrid::ResizeCells() {
    WMSize(viewport()->width(), viewport()->height());
}

void ComponentGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool tab =
        hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, tab ? QAbstractItemDelegate::NoHint : hint);
    if (tab) focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void ComponentGrid::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    ResizeCells();
}

} // namespace components
