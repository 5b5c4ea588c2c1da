#pragma once
// A modal window over a headless form. Its title follows the form's caption, and
// closing it from the title bar or with Escape runs the form's cancel action, as the
// cancel button does. The modal road (QtDialogs::ShowModal) ends it on the form's
// modal result.
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QDialog>

class FormDialog : public QDialog {
public:
    FormDialog(FormBase& form, Action& cancel, QWidget* parent);

protected:
    void reject() override;

private:
    Action& cancel_;
};
