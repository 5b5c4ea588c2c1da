#pragma once
// Models of the window controls. Handlers change them; the Qt side shows them and
// listens to Changed. Nothing here knows about Qt.
#include "platform/Signal.h"

#include <functional>
#include <string>
#include <vector>

enum class ImeMode { DontCare, Close, Hiragana, HalfKatakana };

class Control {
public:
    explicit Control(std::string name = {}) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { set(enabled_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { set(visible_, v); }
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }
    // Background colour as 0xRRGGBB; -1 = the control's default.
    int Color() const { return color_; }
    void SetColor(int v) { set(color_, v); }
    ImeMode Ime() const { return ime_; }
    void SetIme(ImeMode m) { set(ime_, m); }

    Signal<> Changed;

protected:
    template <typename T> void set(T& field, const T& v) {
        if (field == v) return;
        field = v;
        Changed();
    }

private:
    std::string name_;
    bool enabled_ = true;
    bool visible_ = true;
    int tag_ = 0;
    int color_ = -1;
    ImeMode ime_ = ImeMode::DontCare;
};

constexpr int clWhite = 0xFFFFFF;
constexpr int clSilver = 0xC0C0C0;
constexpr int clRed = 0xFF0000;
constexpr int clBlue = 0x0000FF;
constexpr int clGreen = 0x008000;
constexpr int clBlack = 0x000000;

class Label : public Control {
public:
    using Control::Control;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { set(caption_, v); }

private:
    std::string caption_;
};

class Edit : public Control {
public:
    using Control::Control;
    const std::string& Text() const { return text_; }
    void SetText(const std::string& v) {
        if (text_ == v) return;
        text_ = v;
        modified_ = true;
        Changed();
    }
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

private:
    std::string text_;
    bool modified_ = false;
};

// Multi-line text: Text() joins the lines with CR LF as the platform's memo does.
class Memo : public Edit {
public:
    using Edit::Edit;
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
};

class CheckBox : public Control {
public:
    using Control::Control;
    bool Checked() const { return checked_; }
    void SetChecked(bool v) {
        if (checked_ == v) return;
        checked_ = v;
        Changed();
        if (OnClick) OnClick();
    }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { set(caption_, v); }
    std::function<void()> OnClick;

private:
    bool checked_ = false;
    std::string caption_;
};

class RadioButton : public CheckBox {
public:
    using CheckBox::CheckBox;
};

class SpinEdit : public Control {
public:
    using Control::Control;
    int Value() const { return value_; }
    // An out-of-range value becomes the nearest limit.
    void SetValue(int v);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetRange(int lo, int hi);
    // The text as shown; an emptied spin edit has an empty text and keeps its value.
    const std::string& Text() const { return text_; }
    void SetText(const std::string& t);
    std::function<void()> OnChange;

private:
    int value_ = 0;
    int min_ = 0;
    int max_ = 100;
    std::string text_ = "0";
};

class Action : public Control {
public:
    Action(std::string name = {}, std::string caption = {}) : Control(std::move(name)), caption_(std::move(caption)) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { set(caption_, v); }
    bool Checked() const { return checked_; }
    void SetChecked(bool v) { set(checked_, v); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    std::string ShortCut;
    std::function<void()> OnExecute;
    // Runs the handler as a menu or tool button would: only when enabled.
    bool Execute() {
        if (!Enabled() || !OnExecute) return false;
        OnExecute();
        return true;
    }

private:
    std::string caption_;
    std::string hint_;
    bool checked_ = false;
};

class PageControl : public Control {
public:
    PageControl(std::string name, std::vector<std::string> captions)
        : Control(std::move(name)), captions_(std::move(captions)) {}
    int ActivePageIndex() const { return active_; }
    // Switching pages by the user runs OnChange as the window system would.
    void SetActivePageIndex(int i);
    int PageCount() const { return static_cast<int>(captions_.size()); }
    const std::string& PageCaption(int i) const { return captions_.at(i); }
    std::function<void()> OnChange;
    // Programmatic switch that does not raise OnChange.
    void ShowPage(int i) { set(active_, i); }

private:
    std::vector<std::string> captions_;
    int active_ = 0;
};

class Timer : public Control {
public:
    using Control::Control;
    int Interval() const { return interval_; }
    void SetInterval(int ms) { set(interval_, ms); }
    std::function<void()> OnTimer;
    void Fire() {
        if (Enabled() && OnTimer) OnTimer();
    }

private:
    int interval_ = 1000;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    int Position() const { return pos_; }
    void SetPosition(int v) { set(pos_, v); }
    int Max() const { return max_; }
    void SetMax(int v) { set(max_, v); }

private:
    int pos_ = 0;
    int max_ = 100;
};

class StatusBar : public Control {
public:
    using Control::Control;
    std::string Panel(int i) const { return i < static_cast<int>(panels_.size()) ? panels_[i] : std::string(); }
    void SetPanel(int i, const std::string& text);
    int PanelCount() const { return static_cast<int>(panels_.size()); }

private:
    std::vector<std::string> panels_;
};

// Keys the handlers see, as the platform's virtual key codes where they matter.
namespace Key {
constexpr char32_t Backspace = 8;
constexpr char32_t Tab = 9;
constexpr char32_t Enter = 13;
constexpr char32_t Escape = 27;
constexpr char32_t None = 0;
// Tab moves to another cell and Escape puts back the text the cell had: no column's
// typing rule takes these away or lets them touch a cell.
constexpr bool PassesFilters(char32_t k) { return k == Tab || k == Escape; }
} // namespace Key
