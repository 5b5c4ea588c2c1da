#pragma once
// A group of radio buttons under one caption: its items and the chosen one.
#include "platform/Controls.h"

#include <functional>
#include <string>
#include <vector>

class RadioGroup : public Control {
  public:
    RadioGroup(std::string name, std::string caption, std::vector<std::string> items)
        : Control(std::move(name)), caption_(std::move(caption)), items_(std::move(items)) {}
    const std::string& Caption() const { return caption_; }
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items) {
        items_ = std::move(items);
        if (index_ >= static_cast<int>(items_.size())) index_ = -1;
        Changed();
    }
    // -1 = none chosen.
    int ItemIndex() const { return index_; }
    void SetItemIndex(int i) { set(index_, i >= 0 && i < static_cast<int>(items_.size()) ? i : -1); }
    // A user's pick: the index, then OnClick.
    void Click(int i) {
        SetItemIndex(i);
        if (OnClick) OnClick();
    }
    std::function<void()> OnClick;

  private:
    std::string caption_;
    std::vector<std::string> items_;
    int index_ = -1;
};
