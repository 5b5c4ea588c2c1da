#include "platform/Controls.h"

#include <algorithm>

std::vector<std::string> Memo::Lines() const {
    std::vector<std::string> out;
    const std::string& t = Text();
    if (t.empty()) return out;
    size_t start = 0;
    while (start <= t.size()) {
        size_t nl = t.find('\n', start);
        std::string line = t.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
        if (start == t.size()) break;
    }
    return out;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
    std::string t;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) t += "\r\n";
        t += lines[i];
    }
    SetText(t);
}

void SpinEdit::SetValue(int v) {
    v = std::clamp(v, min_, std::max(min_, max_));
    std::string t = std::to_string(v);
    if (v == value_ && t == text_) return;
    value_ = v;
    text_ = t;
    Changed();
    if (OnChange) OnChange();
}

void SpinEdit::SetRange(int lo, int hi) {
    if (lo == min_ && hi == max_) return;
    min_ = lo;
    max_ = hi;
    if (value_ < lo || value_ > hi) SetValue(value_);
    Changed();
}

void SpinEdit::SetText(const std::string& t) {
    if (t.empty()) {
        if (text_.empty()) return;
        text_.clear();
        Changed();
        if (OnChange) OnChange();
        return;
    }
    try {
        size_t used = 0;
        long v = std::stol(t, &used);
        if (used != t.size()) return;
        SetValue(static_cast<int>(std::clamp<long>(v, min_, max_)));
    } catch (...) {
    }
}

void PageControl::SetActivePageIndex(int i) {
    if (i < 0 || i >= PageCount() || i == active_) return;
    ShowPage(i);
    if (OnChange) OnChange();
}

void StatusBar::SetPanel(int i, const std::string& text) {
    if (i < 0) return;
    if (static_cast<int>(panels_.size()) <= i) panels_.resize(i + 1);
    if (panels_[i] == text) return;
    panels_[i] = text;
    Changed();
}
