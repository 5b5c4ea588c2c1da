#pragma once
// The advanced-start and restart window (TFormKuriage): modeless, on top of the main
// window. The main window shows and hides it with its form; the form's open action
// runs FormShow, so this window never does.
#include <QWidget>

class TFormKuriage;

class KuriageWindow : public QWidget {
public:
    explicit KuriageWindow(TFormKuriage& form, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void bindGrid();
    void centre();

    TFormKuriage& form_;
    bool placed_ = false;
};
