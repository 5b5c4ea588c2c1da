#include "mainwindow/TKukanParamForm.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kMinRows = 3, kMaxRows = 20;

const char* const kCaptions[] = {"出力ｵﾌﾟｼｮﾝ", "ｵｰﾀﾞｰ設定(ｸﾘｯｸ)", "ｵｰﾀﾞｰ設定(ﾃﾝｷｰ)", "ﾌｨﾙﾀｵﾌﾟｼｮﾝ"};

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

} // namespace

TKukanParamForm::TKukanParamForm() : FormBase("TKukanParamForm") {
    SetCaption(kCaptions[ModeLeg]);
    OKBtn.OnExecute = [this] { OKBtnClick(); };
    CancelBtn.OnExecute = [this] { CancelBtnClick(); };
}

int TKukanParamForm::legs() const {
    return MainForm->KukanNum;
}

std::string TKukanParamForm::runnerText(int item) const {
    return MainForm->RunnerListText(item, true);
}

void TKukanParamForm::FormShow() {
    SetModalResult(mrNone);
    SetCaption(kCaptions[std::clamp(Mode, 0, 3)]);
    KukanListBox.SetSorted(false);
    const bool order = Mode == ModeClick || Mode == ModeTenkey;
    OKBtn.SetEnabled(!order);
    if (order) {
        OrderCount = 0;
        OrderOf.assign(KukanListBox.Count(), 0);
        OrderUsed.assign(legs() + 1, 0);
    }
    if (Mode == ModeClass) KukanListBox.SetItemIndex(0);
    if (Mode == ModeLeg) {
        // The view shown last stays chosen unless the user picks another.
        const int tag = OutputForm->Tag;
        KukanListBox.SetItemIndex(tag >= 0 && tag <= legs() ? tag : 0);
    }
    VisibleRows = std::clamp(KukanListBox.Count(), kMinRows, kMaxRows);
}

void TKukanParamForm::FreeOrder() {
    OrderOf.clear();
    OrderUsed.clear();
    OrderCount = 0;
}

// Modes 0 and 3 take their choice on OK, so Cancel leaves the leg and the filter as they were.
void TKukanParamForm::OKBtnClick() {
    const int i = std::max(KukanListBox.ItemIndex(), 0);
    if (Mode == ModeLeg) OutputForm->Tag = i;
    if (Mode == ModeClass) {
        const std::u32string text =
            ToU32(i > 0 && i < KukanListBox.Count() ? Trim(KukanListBox.Item(i)) : "");
        MainForm->SetClassFilter(text.empty() ? std::string() : FromU32(text[0]));
    }
    SetModalResult(mrOk);
}

void TKukanParamForm::KukanListBoxClick() {
    const int i = KukanListBox.ItemIndex();
    if (Mode == ModeClick && i >= 0 && i < static_cast<int>(OrderOf.size())) clickRunner(i);
}

void TKukanParamForm::KukanListBoxDblClick() {
    if (Mode == ModeLeg && KukanListBox.ItemIndex() >= 0) OKBtn.Execute();
}

void TKukanParamForm::setNumber(int item, int leg) {
    KukanListBox.SetItem(item, Format("%2d) %s", leg, runnerText(item).c_str()));
    OrderOf[item] = leg;
}

void TKukanParamForm::clearNumber(int item) {
    KukanListBox.SetItem(item, runnerText(item));
    OrderOf[item] = 0;
}

void TKukanParamForm::clickRunner(int item) {
    if (OrderComplete()) {
        Dlg().ShowMessage("設定終了後は戻せません。");
        return;
    }
    if (OrderOf[item] > 0) {
        if (OrderOf[item] != OrderCount) {
            Dlg().ShowMessage("降順で戻して下さい。");
            return;
        }
        clearNumber(item);
        --OrderCount;
        return;
    }
    setNumber(item, ++OrderCount);
    if (OrderCount >= legs()) CheckOrderComplete();
}

void TKukanParamForm::KukanListBoxKeyPress(char32_t& key) {
    const char32_t typed = key;
    key = Key::None; // the list itself never acts on a key
    const int i = KukanListBox.ItemIndex();
    if (Mode != ModeTenkey || i < 0 || i >= static_cast<int>(OrderOf.size())) return;
    if (typed == Key::Enter) {
        // Once the order is complete the list is sorted and stays as it is.
        if (OrderComplete()) return;
        CheckOrderComplete();
        if (i + 1 < KukanListBox.Count()) KukanListBox.SetItemIndex(i + 1);
        return;
    }
    if (!isDigit(typed) && typed != Key::Backspace && typed != U'.') return;
    if (OrderComplete()) {
        Dlg().ShowMessage("設定終了後は変更できません。");
        return;
    }
    if (typed == Key::Backspace || typed == U'.')
        clearNumber(i);
    else
        typeLeg(i, typed);
}

// A second digit makes a two-digit leg when that leg exists; a lone 0 numbers nothing.
void TKukanParamForm::typeLeg(int item, char32_t key) {
    const int digit = static_cast<int>(key - U'0');
    int leg = digit;
    if (leg > legs()) return;
    if (const int previous = OrderOf[item]; previous > 0) {
        leg = previous * 10 + digit;
        if (leg < 1 || leg > legs()) return;
    }
    if (leg == 0)
        clearNumber(item);
    else
        setNumber(item, leg);
}

int TKukanParamForm::numberedCount() const {
    return static_cast<int>(std::count_if(OrderOf.begin(), OrderOf.end(), [](int n) { return n > 0; }));
}

void TKukanParamForm::CheckOrderComplete() {
    if (OrderComplete() || numberedCount() < legs()) return;
    std::fill(OrderUsed.begin(), OrderUsed.end(), 0);
    for (int n : OrderOf) {
        if (n <= 0) continue;
        if (OrderUsed.at(n)) {
            Dlg().ShowMessage("区番が重複しています。");
            return;
        }
        OrderUsed[n] = 1;
    }
    Dlg().ShowMessage("設定終了");
    // The mark sorts the runners without a leg after the numbered ones.
    const char* mark = legs() < 10 ? "...." : "9999";
    for (int i = 0; i < static_cast<int>(OrderOf.size()); ++i)
        if (OrderOf[i] == 0) KukanListBox.SetItem(i, Format("%s) %s", mark, runnerText(i).c_str()));
    KukanListBox.SetSorted(true);
    OKBtn.SetEnabled(true);
}
