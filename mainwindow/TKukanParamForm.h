#pragma once
// One list dialog, four modes: 0 which result the output window shows, 3 which class
// the results are filtered to, 1 and 2 the running order of one team's runners (by
// clicking them in leg order, or by typing a leg number per runner).
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/ListBox.h"

#include <string>
#include <vector>

class TKukanParamForm : public FormBase {
  public:
    enum { ModeLeg = 0, ModeClick = 1, ModeTenkey = 2, ModeClass = 3 };

    TKukanParamForm();

    int Mode = ModeLeg;         // set by the caller before FormShow
    int OrderCount = 0;         // runners numbered so far (by click)
    std::vector<int> OrderOf;   // per item (runner slot - 1): its leg, 0 = none
    std::vector<int> OrderUsed; // per leg number, for the duplicate check

    ListBox KukanListBox{"KukanListBox"};
    Action OKBtn{"OKBtn", "OK"};
    Action CancelBtn{"CancelBtn", "キャンセル"};
    // Height of the list in rows, fitted to the items.
    int VisibleRows = 3;

    // The caller fills the list, then calls FormShow and shows the dialog modally.
    void FormShow();
    void KukanListBoxClick();
    void KukanListBoxDblClick();
    void KukanListBoxKeyPress(char32_t& key);
    void CheckOrderComplete();
    // OK applies the choice of modes 0 and 3; Cancel changes nothing.
    void OKBtnClick();
    void CancelBtnClick() { SetModalResult(mrCancel); }
    // Every runner has its leg and OK may be pressed.
    bool OrderComplete() const { return OKBtn.Enabled(); }
    void FreeOrder();

  private:
    int legs() const;
    std::string runnerText(int item) const;
    void setNumber(int item, int leg);
    void clearNumber(int item);
    void clickRunner(int item);
    void typeLeg(int item, char32_t key);
    int numberedCount() const;
};
