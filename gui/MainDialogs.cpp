#include "gui/MainDialogs.h"

#include "gui/ClockInputDialog.h"
#include "gui/CsvEntryDialog.h"
#include "gui/DelayInfDialog.h"
#include "gui/EnvDialog.h"
#include "gui/FormRegistry.h"
#include "gui/KukanParamDialog.h"
#include "gui/KuriageWindow.h"
#include "gui/OKRightDialog.h"
#include "gui/OutputWindow.h"
#include "gui/PrizeParamDialog.h"
#include "gui/SelectDataDialog.h"
#include "gui/SwapRunnerDialog.h"
#include "gui/TaikaiDirDialog.h"
#include "mainwindow/TCSVEntry.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"
#include "mainwindow/TFormEnv.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TSwapTmRunForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOKRightDlg.h"
#include "output/TFormPrizeParam.h"
#include "output/TOutputForm.h"

void RegisterMainWindowDialogs() {
    RegisterDialog("TSelectDataForm", [](FormBase& f, QWidget* parent) {
        return new SelectDataDialog(static_cast<TSelectDataForm&>(f), parent);
    });
    RegisterDialog("TcurrTaikaiDir", [](FormBase& f, QWidget* parent) {
        return new TaikaiDirDialog(static_cast<TcurrTaikaiDir&>(f), parent);
    });
    RegisterDialog("TKukanParamForm", [](FormBase& f, QWidget* parent) {
        return new KukanParamDialog(static_cast<TKukanParamForm&>(f), parent);
    });
    RegisterDialog("TSwapTmRunForm", [](FormBase& f, QWidget* parent) {
        return new SwapRunnerDialog(static_cast<TSwapTmRunForm&>(f), parent);
    });
    RegisterDialog("TCSVEntry", [](FormBase& f, QWidget* parent) {
        return new CsvEntryDialog(static_cast<TCSVEntry&>(f), parent);
    });
    RegisterDialog("TOKRightDlg", [](FormBase& f, QWidget* parent) {
        return new OKRightDialog(static_cast<TOKRightDlg&>(f), parent);
    });
    RegisterDialog("TFormDelayInf", [](FormBase& f, QWidget* parent) {
        return new DelayInfDialog(static_cast<TFormDelayInf&>(f), parent);
    });
    RegisterDialog("TFormEnv", [](FormBase& f, QWidget* parent) {
        return new EnvDialog(static_cast<TFormEnv&>(f), parent);
    });
    RegisterDialog("TFormClockInput", [](FormBase& f, QWidget* parent) {
        return new ClockInputDialog(static_cast<TFormClockInput&>(f), parent);
    });
    RegisterDialog("TFormPrizeParam", [](FormBase& f, QWidget* parent) {
        return new PrizeParamDialog(static_cast<TFormPrizeParam&>(f), parent);
    });
    RegisterWindow("TFormKuriage", [](FormBase& f) { return new KuriageWindow(static_cast<TFormKuriage&>(f)); });
    RegisterWindow("TOutputForm", [](FormBase& f) { return new OutputWindow(static_cast<TOutputForm&>(f)); });
}
