#pragma once
// The new race folder dialog (TcurrTaikaiDir): the existing race folders under the
// data root, which the list only shows, and the name of the new one.
#include "gui/FormDialog.h"

class QLineEdit;
class QListWidget;
class TcurrTaikaiDir;

class TaikaiDirDialog : public FormDialog {
public:
    TaikaiDirDialog(TcurrTaikaiDir& form, QWidget* parent);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void showFolders();

    TcurrTaikaiDir& form_;
    QListWidget* folders_;
    QLineEdit* name_;
};
