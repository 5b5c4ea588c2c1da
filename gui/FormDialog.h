#pragma once
// A modal window over a headless form. Its title follows the form's caption, and
// closing it from the title bar or with Escape runs the form's cancel action, as the
// cancel button does (a form without one just ends the showing). The modal road
// (QtDialogs::ShowModal) ends it on the form's modal result.
#include "gui/KeyInput.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QDialog>

#include <initializer_list>

class QHBoxLayout;
class QListWidget;
class QPushButton;

class FormDialog : public QDialog {
public:
    FormDialog(FormBase& form, Action& cancel, QWidget* parent);
    FormDialog(FormBase& form, QWidget* parent);

protected:
    void reject() override;
    // A push button for the action that does not take Enter by default.
    QPushButton* actionButton(Action& a);
    // Buttons for the actions, right-aligned.
    QHBoxLayout* buttonRow(std::initializer_list<Action*> actions);
    // A grid's key handler under which Escape closes the window (as the close box does)
    // instead of reaching the grid, whose handler would drop it.
    KeyHandler closingOnEscape(KeyHandler handler);
    // A list as high as the given number of rows.
    static void fitRows(QListWidget* list, int rows);

private:
    Action* cancel_ = nullptr;
};
