#pragma once
// Base of every headless window: caption, visibility and the modal result.
#include "platform/Signal.h"

#include <string>

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

class FormBase {
public:
    explicit FormBase(std::string name) : name_(std::move(name)) {}
    virtual ~FormBase() = default;
    FormBase(const FormBase&) = delete;
    FormBase& operator=(const FormBase&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c) {
        caption_ = c;
        Changed();
    }
    bool Visible() const { return visible_; }
    // Modeless show and hide; the Qt side follows VisibleChanged.
    void Show() { setVisible(true); }
    void Hide() { setVisible(false); }
    void Close() { setVisible(false); }
    int ModalResultValue() const { return modalResult_; }
    // Setting a modal result ends a modal showing, as the platform's forms do.
    void SetModalResult(int r) {
        modalResult_ = r;
        if (r != mrNone) EndModal(r);
    }

    Signal<> Changed;
    Signal<bool> VisibleChanged;
    Signal<int> EndModal;

protected:
    void setVisible(bool v) {
        if (visible_ == v) return;
        visible_ = v;
        VisibleChanged(v);
    }

private:
    std::string name_;
    std::string caption_;
    bool visible_ = false;
    int modalResult_ = mrNone;
};
