#pragma once
// Two-way bindings between the control models and Qt widgets. A widget shows its
// model now and again on every Changed; what the user does goes to the model (and so
// to the form's handlers) through Guard. Model-to-widget updates block the widget's
// signals, so nothing echoes back.
//
// Widgets must already have their parent: showing a parentless widget opens a window.
#include "gui/KeyInput.h"
#include "platform/Controls.h"
#include "platform/ListBox.h"

#include <QString>

#include <functional>

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;
class QWidget;

namespace bind {

// Enabled, visible and background colour.
void control(QWidget* w, Control& m);
void label(QLabel* w, Label& m);
void edit(QLineEdit* w, Edit& m);
void memo(QPlainTextEdit* w, Memo& m);
// QCheckBox or QRadioButton; a user's click runs the model's OnClick. The widget keeps
// its own text while the model's caption is empty.
void check(QAbstractButton* w, CheckBox& m);
void spin(QSpinBox* w, SpinEdit& m);
// Caption (with its & mnemonic), enabled, visible, checked; triggering executes it.
// An action without a caption shows its hint, else its name.
void action(QAction* a, Action& m, bool checkable = false);
// As above, with a text of the model's state (a tool button whose picture shows it).
void action(QAction* a, Action& m, std::function<QString()> text);
// A new QAction named after the model and bound to it.
QAction* newAction(Action& m, QObject* owner);
// A push button standing for an action: caption, enabled, visible; a click executes it.
void button(QAbstractButton* w, Action& m);
// The tabs are the pages: a user's switch runs OnChange, ShowPage only shows.
void pages(QTabWidget* w, PageControl& m);
void timer(QTimer* t, Timer& m);
void progress(QProgressBar* w, ProgressBar& m);
void status(QStatusBar* w, StatusBar& m);

// What a form does about a list's events; both optional, run through Guard.
struct ListEvents {
    std::function<void()> click = {};    // after the model took the user's pick
    std::function<void()> dblClick = {};
};
// Items, current item and, for a multi-select model, the selection (a click toggles
// an item). A single-select list runs click on every mouse click on an item, the
// current one included, and when the keyboard moves the pick; a multi-select list
// runs it when the user changed the selection.
void list(QListWidget* w, ListBox& m, ListEvents on = {});
// Items, current item and drop-down rows; a pick by the user (the same item too) sets
// the current item, then runs change.
void combo(QComboBox* w, ComboBox& m, std::function<void()> change = {});
// Every character typed into w goes to the handler first: 0 drops it, another
// character replaces it.
void keys(QWidget* w, KeyHandler handler);

} // namespace bind
