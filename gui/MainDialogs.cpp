#include "gui/MainDialogs.h"

#include "gui/FormRegistry.h"
#include "gui/KuriageWindow.h"
#include "gui/SelectDataDialog.h"
#include "gui/TaikaiDirDialog.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TcurrTaikaiDir.h"

void RegisterMainWindowDialogs() {
    RegisterDialog("TSelectDataForm", [](FormBase& f, QWidget* parent) {
        return new SelectDataDialog(static_cast<TSelectDataForm&>(f), parent);
    });
    RegisterDialog("TcurrTaikaiDir", [](FormBase& f, QWidget* parent) {
        return new TaikaiDirDialog(static_cast<TcurrTaikaiDir&>(f), parent);
    });
    RegisterWindow("TFormKuriage", [](FormBase& f) { return new KuriageWindow(static_cast<TFormKuriage&>(f)); });
}
