#pragma once
// The edition list of the open road (TSelectDataForm): the editions of the race with
// the open, add, delete and cancel buttons. The road fills the list (FormShow)
// before the showing; this window only shows it and forwards the user's acts.
#include "gui/FormDialog.h"

class TSelectDataForm;

class SelectDataDialog : public FormDialog {
public:
    SelectDataDialog(TSelectDataForm& form, QWidget* parent);
};
