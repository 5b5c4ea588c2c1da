#pragma once
// The list chooser (TKukanParamForm): which result to show, which class to filter
// to, or the running order of a team. The caller fills the list and runs FormShow
// before the showing; this dialog only shows the list and forwards the user's acts.
#include "gui/FormDialog.h"

class TKukanParamForm;

class KukanParamDialog : public FormDialog {
public:
    KukanParamDialog(TKukanParamForm& form, QWidget* parent);
};
