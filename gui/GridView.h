#pragma once
// A table view over a StringGrid model. Fixed rows and columns are drawn as header
// cells inside the table (Qt's header sections are hidden) and can be neither
// selected nor edited. Column widths and row heights come from the grid's sample
// texts measured in the view's font. The current cell follows the grid both ways.
#include "gui/KeyInput.h"
#include "platform/StringGrid.h"

#include <QClipboard>
#include <QPointer>
#include <QTableView>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// On-screen width of a column whose width is given as a sample text.
int GridColumnWidth(const QFontMetrics& fm, const std::string& sample);

class QLineEdit;

// What a form does about one grid's events. Every callback is optional and runs
// through Guard.
struct GridBinding {
    // Every character typed into a cell (before editing starts or in the editor), pasted
    // ones one by one, Enter, Backspace and Escape included; never Tab and Shift+Tab,
    // which always move to the next or previous cell. Setting key to 0 discards it;
    // another character replaces it. An Enter left as it is commits the editor and stays
    // on the cell: handlers that want to move do so themselves. An Escape left as it is
    // ends the edit and puts back the text the cell had before it.
    KeyHandler keyPress = {};
    // After the editor's text changed. The handler sees the cell as it was and usually
    // stores the text itself; when it leaves the cell different the view stores it.
    std::function<void(int col, int row, const std::string& text)> setEditText = {};
    // Whether the user may move to a cell.
    std::function<bool(int col, int row)> selectCell = {};
    std::function<void()> enter = {}; // focus came into the grid
    std::function<void()> exit = {};  // focus left the grid
    std::function<void()> click = {};
    std::function<void()> dblClick = {};
    // How to paint a cell. Without it fixed cells are centred and others left-aligned.
    std::function<CellStyle(int col, int row)> style = {};
    // A second text painted over the cell, placed by its Align; empty Text = none.
    std::function<CellStyle(int col, int row)> overlay = {};
    // A mouse press on any cell, fixed ones included, after the current cell moved.
    // The right button never moves the current cell.
    std::function<void(int col, int row, bool rightButton)> mouseDown = {};
    // An input method committed text in a cell; reading is the last all-kana pre-edit
    // text of that composition.
    std::function<void(const std::string& reading)> composition = {};
    // An action is about to run (see GridView::FinishEdits): what leaving the cell does
    // to the text typed there. The editor is already closed.
    std::function<void()> finishEdit = {};
    // The Shift-JIS bytes a column's cells keep (0: no limit): a paste stops there.
    std::function<int(int col)> cellBytes = {};
};

class GridModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(StringGrid& grid, QWidget* parent = nullptr);
    ~GridView() override;

    StringGrid& grid() const { return grid_; }
    void setBinding(GridBinding b) { binding_ = std::move(b); }
    const GridBinding& binding() const { return binding_; }

    // Layout changes of the grid are applied together when the event loop next runs;
    // this applies a pending one now.
    void applyLayout();
    bool isFixed(int col, int row) const;
    // The width of the columns from first to last, inclusive.
    int columnsWidth(int first, int last) const;
    CellStyle cellStyle(int col, int row);
    CellStyle overlayStyle(int col, int row);
    // Repaints one column, fixed cells included.
    void repaintColumn(int col);
    // Keeps the columns up to the last but trailingOut wide enough to be seen, at every layout.
    void keepColumnsInSight(int trailingOut = 0);
    // The input method on the view and its editor (see ApplyIme); the grid's own Ime
    // is applied on each of its changes.
    void applyIme(ImeMode mode);

    // The in-place editor's events, from the delegate. True = dealt with here.
    bool editorKey(QWidget* editor, const QKeyEvent& e);
    bool editorInputMethod(QWidget* editor, const QInputMethodEvent& e);
    void editorTextEdited(int col, int row, const QString& text);
    void editorOpened(QWidget* editor, int col, int row);
    // The open in-place editor, nullptr when none.
    QWidget* editor() const { return editor_; }
    // Clipboard text into the open editor: filtered through the handler, then inserted once.
    void pasteIntoEditor(QLineEdit* line, QClipboard::Mode mode);

    // Before any action runs: every grid's open editor is committed and closed and every
    // grid's finishEdit runs, as leaving the cell would. A tool button takes no focus, so
    // without this an action would read a text still being typed.
    static void FinishEdits();

signals:
    // Counts and sizes of a layout change are applied.
    void layoutApplied();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void scheduleLayout();
    void followGrid();
    void applySizes();
    void showCurrent();
    void userMovedTo(const QModelIndex& current);
    bool mayMoveTo(const QModelIndex& index);
    QModelIndex tabTarget(int step);
    void commitAndStay(QWidget* editor);
    std::optional<char32_t> askTyped(const QKeyEvent& e, int typingLength);
    static bool isTab(const QKeyEvent& e);
    void typeKey(QKeyEvent* e);
    bool leaveAtEdge(QWidget* editor, const QLineEdit& line, const QKeyEvent& e);
    void focusChanged(QWidget* old, QWidget* now);
    bool owns(QWidget* w) const;
    void run(const std::function<void()>& callback);
    CellStyle askStyle(const std::function<CellStyle(int, int)>& style, int col, int row);
    void noteComposition(const QInputMethodEvent& e);
    QString filterPasted(QLineEdit* line, const QString& text);

    StringGrid& grid_;
    GridModel* model_;
    GridBinding binding_;
    bool layoutPending_ = false;
    bool syncing_ = false;   // moving the view to the grid's current cell
    QPointer<QWidget> editor_; // the open in-place editor
    int editCol_ = 0, editRow_ = 0;
    std::string editOriginal_;  // the cell before editing, back on Escape
    struct CellText {
        int Col, Row;
        std::string Text;
    };
    std::optional<CellText> preKey_; // the current cell before the key being handled
    std::vector<int> tallRows_; // rows sized by a height factor at the last layout
    bool styleFailed_ = false;
    ImeMode gridIme_ = ImeMode::DontCare; // the grid's Ime last applied
    QString reading_; // the composition's last all-kana pre-edit text
    static inline std::vector<GridView*> views_; // every live view, for FinishEdits
};
