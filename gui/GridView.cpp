#include "gui/GridView.h"

#include "gui/QtText.h"
#include "platform/Guard.h"
#include "platform/Text.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kCellPad = 2;          // text inset inside a cell
constexpr int kColPadding = 8;       // added to a column's sample width
constexpr int kDefaultColWidth = 64; // a column without a sample

Qt::Alignment alignmentOf(CellAlign a) {
    switch (a) {
    case CellAlign::Left: break;
    case CellAlign::Center: return Qt::AlignCenter;
    case CellAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlign::BottomRight: return Qt::AlignRight | Qt::AlignBottom;
    case CellAlign::TopLeft: return Qt::AlignLeft | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// The editor's text less its selection, which a paste replaces.
QString unselectedText(const QLineEdit& line) {
    QString t = line.text();
    if (line.hasSelectedText()) t.remove(line.selectionStart(), line.selectedText().size());
    return t;
}

} // namespace

int GridColumnWidth(const QFontMetrics& fm, const std::string& sample) {
    return sample.empty() ? kDefaultColWidth : fm.horizontalAdvance(qs(sample)) + kColPadding;
}

// The grid's cells for Qt. Counts are taken at each reset only, so that Qt never sees
// them change between resets.
class GridModel : public QAbstractTableModel {
public:
    GridModel(StringGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols_; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
        return qs(grid_.Cells(index.column(), index.row()));
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (isFixed(index.column(), index.row())) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return grid_.Editing() ? f | Qt::ItemIsEditable : f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole) return false;
        std::string text = ss(value.toString());
        if (text != grid_.Cells(index.column(), index.row())) grid_.SetCells(index.column(), index.row(), text);
        return true;
    }

    bool isFixed(int col, int row) const { return col < grid_.FixedCols() || row < grid_.FixedRows(); }

    void reset() {
        beginResetModel();
        rows_ = grid_.RowCount();
        cols_ = grid_.ColCount();
        endResetModel();
    }

    void cellChanged(int col, int row) {
        if (col >= cols_ || row >= rows_) return;
        QModelIndex i = index(row, col);
        emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    }

private:
    StringGrid& grid_;
    int rows_ = 0;
    int cols_ = 0;
};

namespace {

// Paints what the form's style says and hands the editor's events to the view.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        const int col = index.column(), row = index.row();
        const bool fixed = view_->isFixed(col, row);
        const CellStyle st = view_->cellStyle(col, row);
        const bool selected = !fixed && (opt.state & QStyle::State_Selected);
        const QPalette& pal = opt.palette;
        // Fixed cells are disabled items to Qt, which would grey them: draw them as headers.
        const QPalette::ColorGroup header = QPalette::Normal;
        QColor bg = st.Background >= 0 ? rgb(st.Background)
                    : selected         ? pal.color(QPalette::Highlight)
                    : fixed            ? pal.color(header, QPalette::Button)
                                       : pal.color(QPalette::Base);
        QColor fg = st.FontColor >= 0 ? rgb(st.FontColor)
                    : selected        ? pal.color(QPalette::HighlightedText)
                    : fixed           ? pal.color(header, QPalette::ButtonText)
                                      : pal.color(QPalette::Text);
        p->save();
        p->fillRect(opt.rect, bg);
        QFont font = opt.font;
        font.setBold(st.Bold);
        font.setStrikeOut(st.StrikeOut);
        p->setFont(font);
        p->setPen(fg);
        const QRect textRect = opt.rect.adjusted(kCellPad, 0, -kCellPad, 0);
        p->drawText(textRect, alignmentOf(st.Align), qs(st.Text));
        const CellStyle over = view_->overlayStyle(col, row);
        if (!over.Text.empty()) {
            font.setBold(over.Bold);
            font.setStrikeOut(over.StrikeOut);
            p->setFont(font);
            p->setPen(over.FontColor >= 0 ? rgb(over.FontColor) : fg);
            p->drawText(textRect, alignmentOf(over.Align), qs(over.Text));
        }
        // Separator lines are the forms' black, on fixed (disabled) cells too.
        const QColor line = Qt::black;
        if (st.LineBelow) p->fillRect(QRect(opt.rect.left(), opt.rect.bottom() - 1, opt.rect.width(), 2), line);
        if (st.LineRight) p->fillRect(QRect(opt.rect.right() - 1, opt.rect.top(), 2, opt.rect.height()), line);
        p->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* e = new QLineEdit(parent);
        e->setFrame(false);
        // A drop or the line edit's own menu would paste around the column's rules: the
        // grid's pop-up menu (when it has one) comes up instead.
        e->setAcceptDrops(false);
        e->setContextMenuPolicy(Qt::NoContextMenu);
        e->setInputMethodHints(view_->inputMethodHints());
        e->setAttribute(Qt::WA_InputMethodEnabled, view_->testAttribute(Qt::WA_InputMethodEnabled));
        const int col = index.column(), row = index.row();
        GridView* view = view_;
        QObject::connect(e, &QLineEdit::textEdited, e, [view, col, row](const QString& t) {
            view->editorTextEdited(col, row, t);
        });
        view_->editorOpened(e, col, row);
        return e;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* e = static_cast<QLineEdit*>(editor);
        // The cell follows every keystroke; only a change from elsewhere is copied back,
        // so the caret stays where the user put it.
        QString t = index.data(Qt::EditRole).toString();
        if (e->text() != t) e->setText(t);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }

protected:
    bool eventFilter(QObject* object, QEvent* e) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && e->type() == QEvent::KeyPress && view_->editorKey(editor, *static_cast<QKeyEvent*>(e)))
            return true;
        if (editor && e->type() == QEvent::InputMethod &&
            view_->editorInputMethod(editor, *static_cast<QInputMethodEvent*>(e)))
            return true;
        auto* line = qobject_cast<QLineEdit*>(object);
        if (line && e->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton) {
            if (QGuiApplication::clipboard()->supportsSelection()) view_->pasteIntoEditor(line, QClipboard::Selection);
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, e);
    }

private:
    GridView* view_;
};

} // namespace

GridView::GridView(StringGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new GridModel(grid, this)) {
    setObjectName(qs(grid.Name()));
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(SingleSelection);
    setEditTriggers(AnyKeyPressed | DoubleClicked | EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    QPointer<GridView> self(this);
    grid.LayoutChanged.connect([self] {
        if (self) self->scheduleLayout();
    });
    grid.CellChanged.connect([self](int col, int row) {
        if (self && !self->layoutPending_) self->model_->cellChanged(col, row);
    });
    grid.CurrentChanged.connect([self] {
        if (self) self->showCurrent();
    });
    grid.Changed.connect([self] {
        if (self) self->followGrid();
    });
    followGrid();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { userMovedTo(current); });
    connect(qApp, &QApplication::focusChanged, this, &GridView::focusChanged);
    layoutPending_ = true;
    applyLayout();
    views_.push_back(this);
}

// Taking the view down must not move the grid's current cell, and focus changes made
// while ~QWidget runs must not reach a half-destroyed view.
GridView::~GridView() {
    std::erase(views_, this);
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(selectionModel(), nullptr, this, nullptr);
}

bool GridView::isFixed(int col, int row) const { return model_->isFixed(col, row); }

void GridView::scheduleLayout() {
    if (layoutPending_) return;
    layoutPending_ = true;
    // A rebuild changes counts, titles and widths one by one: one reset for all of them.
    QTimer::singleShot(0, this, [this] { applyLayout(); });
}

void GridView::applyLayout() {
    if (!layoutPending_) return;
    layoutPending_ = false;
    // The reset would drop an open editor without a word; its text is in the cell already.
    if (editor_) commitAndStay(editor_);
    model_->reset();
    applySizes();
    showCurrent();
    emit layoutApplied();
}

int GridView::columnsWidth(int first, int last) const {
    int w = 0;
    for (int c = first; c <= last; ++c) w += columnWidth(c);
    return w;
}

void GridView::applySizes() {
    QFontMetrics fm(font());
    const int rowHeight = fm.height() + 2 * kCellPad + 2;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    for (int c = 0; c < grid_.ColCount(); ++c) {
        std::string sample = grid_.ColSample(c);
        setColumnWidth(c, GridColumnWidth(fm, sample));
    }
    for (int r : tallRows_)
        if (r < grid_.RowCount()) setRowHeight(r, rowHeight);
    tallRows_.clear();
    const int unit = fm.horizontalAdvance(qs(grid_.RowHeightSample()));
    for (int r = 0; r < grid_.RowCount(); ++r) {
        if (double f = grid_.RowHeightFactor(r); f > 0) {
            setRowHeight(r, static_cast<int>(f * unit));
            tallRows_.push_back(r);
        }
    }
}

// A move never waits for the event loop: keys already queued go to the cell it made
// current, so a pending layout (a row just added) is applied first.
void GridView::showCurrent() {
    if (layoutPending_) {
        applyLayout();
        return;
    }
    QModelIndex index = model_->index(grid_.CurRow(), grid_.Col());
    if (!index.isValid() || index == currentIndex()) return;
    QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect;
    if (grid_.RowSelect()) how |= QItemSelectionModel::Rows;
    syncing_ = true;
    selectionModel()->setCurrentIndex(index, how);
    syncing_ = false;
    // A hidden view has no real viewport yet: scrolling there would push the first columns out.
    if (isVisible()) scrollTo(index);
}

void GridView::userMovedTo(const QModelIndex& current) {
    if (syncing_ || !current.isValid()) return;
    grid_.SetCurrent(current.column(), current.row());
}

bool GridView::mayMoveTo(const QModelIndex& index) {
    if (!binding_.selectCell) return true;
    bool allowed = true;
    Guard([&] { allowed = binding_.selectCell(index.column(), index.row()); });
    return allowed;
}

// Changed also stands for "repaint": a form's painter may read other models.
void GridView::followGrid() {
    setSelectionBehavior(grid_.RowSelect() ? SelectRows : SelectItems);
    viewport()->update();
    if (grid_.Ime() == gridIme_) return;
    gridIme_ = grid_.Ime();
    applyIme(gridIme_);
}

void GridView::run(const std::function<void()>& callback) {
    if (callback) Guard(callback);
}

CellStyle GridView::askStyle(const std::function<CellStyle(int, int)>& style, int col, int row) {
    if (!style || styleFailed_) return {};
    try {
        return style(col, row);
    } catch (...) {
        // Reported once and outside the paint event: a box opened while painting
        // would be painted over and over.
        styleFailed_ = true;
        QTimer::singleShot(0, this, [e = std::current_exception()] { Guard([&] { std::rethrow_exception(e); }); });
    }
    return {};
}

CellStyle GridView::cellStyle(int col, int row) {
    if (binding_.style && !styleFailed_) {
        CellStyle st = askStyle(binding_.style, col, row);
        if (!styleFailed_) return st;
    }
    CellStyle st;
    st.Text = grid_.Cells(col, row);
    st.Align = isFixed(col, row) ? CellAlign::Center : CellAlign::Left;
    return st;
}

CellStyle GridView::overlayStyle(int col, int row) { return askStyle(binding_.overlay, col, row); }

void GridView::repaintColumn(int col) {
    const int rows = model_->rowCount();
    if (col < 0 || col >= model_->columnCount() || rows == 0) return;
    emit model_->dataChanged(model_->index(0, col), model_->index(rows - 1, col), {Qt::DisplayRole});
}

void GridView::keepColumnsInSight(int trailingOut) {
    auto fit = [this, trailingOut] {
        const int last = model_->columnCount() - 1 - trailingOut;
        setMinimumWidth(columnsWidth(0, last) + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
    };
    connect(this, &GridView::layoutApplied, this, fit);
    fit();
}

void GridView::applyIme(ImeMode mode) {
    ApplyIme(this, mode);
    ApplyIme(editor_, mode);
}

// The handler is asked with the length of the text its key goes into: a key pressed
// while no editor is open starts a new text.
std::optional<char32_t> GridView::askTyped(const QKeyEvent& e, int typingLength) {
    grid_.SetTypingLength(typingLength);
    auto key = AskKey(binding_.keyPress, e);
    grid_.SetTypingLength(-1);
    return key;
}

bool GridView::isTab(const QKeyEvent& e) { return e.key() == Qt::Key_Tab || e.key() == Qt::Key_Backtab; }

void GridView::keyPressEvent(QKeyEvent* e) {
    if (KeyReplay::Active() || isTab(*e)) {
        QTableView::keyPressEvent(e);
        return;
    }
    // A key that opens the editor may first change the cell (a class letter empties it):
    // Escape puts back the text from before that key.
    preKey_ = {grid_.Col(), grid_.CurRow(), grid_.Cells(grid_.Col(), grid_.CurRow())};
    typeKey(e);
    preKey_.reset();
}

void GridView::typeKey(QKeyEvent* e) {
    auto key = askTyped(*e, 0);
    if (!key) {
        QTableView::keyPressEvent(e);
        return;
    }
    if (*key == 0 || *key == Key::Enter) { // dropped, or Enter without an editor: stay
        e->accept();
        return;
    }
    KeyReplay replay; // the editor this key may open must not ask the handler again
    if (*key == KeyCharOf(*e)) {
        QTableView::keyPressEvent(e);
    } else {
        auto replaced = KeyEventFor(*key, *e);
        QTableView::keyPressEvent(replaced.get());
    }
}

void GridView::inputMethodEvent(QInputMethodEvent* e) {
    if (!KeyReplay::Active()) noteComposition(*e);
    if (FilterInputMethod(this, *e, binding_.keyPress)) return;
    KeyReplay replay;
    QTableView::inputMethodEvent(e);
}

// Tab is left to the item view (commit, next cell); a paste goes in key by key.
bool GridView::editorKey(QWidget* editor, const QKeyEvent& e) {
    if (KeyReplay::Active() || isTab(e)) return false;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && e.matches(QKeySequence::Paste)) {
        pasteIntoEditor(line, QClipboard::Clipboard);
        return true;
    }
    if (line && leaveAtEdge(editor, *line, e)) return true;
    const int typing = line ? static_cast<int>(line->text().size() - line->selectedText().size()) : -1;
    auto key = askTyped(e, typing);
    if (!key) return false;
    if (*key == 0) return true;
    if (*key == Key::Enter) {
        commitAndStay(editor);
        return true;
    }
    if (*key == KeyCharOf(e)) return false;
    SendKey(editor, *key, e);
    return true;
}

bool GridView::editorInputMethod(QWidget* editor, const QInputMethodEvent& e) {
    if (KeyReplay::Active()) return false;
    noteComposition(e);
    return FilterInputMethod(editor, e, binding_.keyPress);
}

// While composing, the pre-edit text is the reading until conversion turns it into
// kanji; the commit hands over the last reading seen.
void GridView::noteComposition(const QInputMethodEvent& e) {
    if (!e.preeditString().isEmpty()) {
        if (IsKanaText(e.preeditString())) reading_ = e.preeditString();
        return;
    }
    const std::string reading = ss(reading_);
    reading_.clear();
    if (!e.commitString().isEmpty() && !reading.empty() && binding_.composition)
        Guard([&] { binding_.composition(reading); });
}

// Right at the end of the text and Left at its start move to the next cell, as in the
// grids the desk knows; elsewhere they move the caret.
bool GridView::leaveAtEdge(QWidget* editor, const QLineEdit& line, const QKeyEvent& e) {
    if (e.modifiers() & ~Qt::KeypadModifier) return false;
    const bool right = e.key() == Qt::Key_Right && line.cursorPosition() == line.text().size();
    const bool left = e.key() == Qt::Key_Left && line.cursorPosition() == 0;
    if ((!right && !left) || line.hasSelectedText()) return false;
    const QModelIndex next = moveCursor(right ? MoveRight : MoveLeft, e.modifiers());
    commitAndStay(editor);
    if (next.isValid() && next != currentIndex()) selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    return true;
}

void GridView::editorTextEdited(int col, int row, const QString& text) {
    const std::string t = ss(text);
    if (binding_.setEditText) Guard([&] { binding_.setEditText(col, row, t); });
    if (grid_.Cells(col, row) != t) grid_.SetCells(col, row, t);
}

void GridView::editorOpened(QWidget* editor, int col, int row) {
    editor_ = editor;
    editCol_ = col;
    editRow_ = row;
    const bool keyChangedIt = preKey_ && preKey_->Col == col && preKey_->Row == row;
    editOriginal_ = keyChangedIt ? preKey_->Text : grid_.Cells(col, row);
    grid_.SetEditorOpen(true);
}

// A paste is one edit: its characters go through the column's rules as typed keys
// would, at the caret, and the text kept is inserted once, so the cell and its
// handlers see one change, however long the clipboard. One cell takes the clipboard's
// first field: a TAB or a line break ends it.
void GridView::pasteIntoEditor(QLineEdit* line, QClipboard::Mode mode) {
    QPointer<QLineEdit> target(line);
    const QString kept = filterPasted(line, QGuiApplication::clipboard()->text(mode));
    if (target && editor_ == target && !kept.isEmpty()) target->insert(kept);
}

// The characters of text the handler keeps, as far as the column stores them. A handler
// that rewrites the cell (a class letter empties it) starts the text anew, as its key would.
QString GridView::filterPasted(QLineEdit* line, const QString& text) {
    QPointer<QLineEdit> target(line);
    const int limit = binding_.cellBytes ? binding_.cellBytes(editCol_) : 0;
    QString base, kept;
    int baseChars = 0, bytes = 0;
    auto takeBase = [&] {
        base = line->text();
        const QString rest = unselectedText(*line);
        baseChars = static_cast<int>(rest.size());
        bytes = limit > 0 ? SjisLength(ss(rest)) : 0;
        kept.clear();
    };
    takeBase();
    for (char32_t c : text.toUcs4()) {
        if (c == U'\t' || c == U'\r' || c == U'\n') break;
        if (c < 0x20 || c == 0x7F) continue; // control characters type nothing
        grid_.SetTypingLength(baseChars + static_cast<int>(kept.size()));
        const bool asked = !binding_.keyPress || Guard([&] { binding_.keyPress(c); });
        grid_.SetTypingLength(-1);
        if (!asked || !target || editor_ != target) return {}; // the handler failed or moved on
        if (line->text() != base) takeBase();
        if (c < 0x20 || c == 0x7F) continue; // dropped, or replaced by a key that types nothing
        const QString ch = QString::fromUcs4(&c, 1);
        const int size = limit > 0 ? SjisLength(ss(ch)) : 0;
        if (limit > 0 && bytes + size > limit) break;
        bytes += size;
        kept += ch;
    }
    return kept;
}

void GridView::FinishEdits() {
    const std::vector<GridView*> views = views_; // a finishing handler may take a view down
    for (GridView* v : views)
        if (std::ranges::count(views_, v) && v->editor_) v->commitAndStay(v->editor_);
    for (GridView* v : views)
        if (std::ranges::count(views_, v)) v->run(v->binding_.finishEdit);
}

void GridView::commitAndStay(QWidget* editor) {
    if (editor_ != editor) return; // the handler moved on and that closed the editor
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor_ == editor) {
        editor_ = nullptr;
        // The cell followed every keystroke: a cancelled edit puts its text back.
        if (hint == QAbstractItemDelegate::RevertModelCache && grid_.Cells(editCol_, editRow_) != editOriginal_)
            grid_.SetCells(editCol_, editRow_, editOriginal_);
    }
    QTableView::closeEditor(editor, hint);
    grid_.SetEditorOpen(editor_ != nullptr);
}

void GridView::mousePressEvent(QMouseEvent* e) {
    QModelIndex index = indexAt(e->position().toPoint());
    const bool right = e->button() == Qt::RightButton;
    const bool stay = right || (index.isValid() && index != currentIndex() && !isFixed(index.column(), index.row()) &&
                                !mayMoveTo(index));
    if (stay) e->accept();
    else QTableView::mousePressEvent(e);
    if (index.isValid() && binding_.mouseDown)
        Guard([&] { binding_.mouseDown(index.column(), index.row(), right); });
}

void GridView::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    QModelIndex index = indexAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && index.isValid() && !isFixed(index.column(), index.row()))
        run(binding_.click);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    run(binding_.dblClick);
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveNext || action == MovePrevious) return tabTarget(action == MoveNext ? 1 : -1);
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next != currentIndex() && !mayMoveTo(next)) return currentIndex();
    return next;
}

// Tab walks the cells row by row, wrapping at the ends, past the fixed ones and those the
// form refuses (a status column), so it never sticks in front of them.
QModelIndex GridView::tabTarget(int step) {
    const QModelIndex from = currentIndex();
    const int cols = model_->columnCount(), cells = cols * model_->rowCount();
    if (!from.isValid() || cells == 0) return from;
    const int start = from.row() * cols + from.column();
    for (int k = 1; k < cells; ++k) {
        const int i = ((start + step * k) % cells + cells) % cells;
        const QModelIndex to = model_->index(i / cols, i % cols);
        if (!isFixed(to.column(), to.row()) && mayMoveTo(to)) return to;
    }
    return from;
}

bool GridView::owns(QWidget* w) const { return w && (w == this || isAncestorOf(w)); }

// Focus moving to or from another window (a message box, a dialog) is not leaving.
void GridView::focusChanged(QWidget* old, QWidget* now) {
    if (!now || now->window() != window() || (old && old->window() != window())) return;
    if (!owns(old) && owns(now)) run(binding_.enter);
    else if (owns(old) && !owns(now)) run(binding_.exit);
}
