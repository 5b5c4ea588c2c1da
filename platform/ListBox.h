#pragma once
// List box and combo box models: items, the current item, the selection of a
// multi-select list and the sorted flag. The Qt side shows them and follows Changed.
#include "platform/Controls.h"

#include <algorithm>
#include <string>
#include <vector>

class ListBox : public Control {
  public:
    using Control::Control;

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int i) const { return items_.at(i); }
    const std::vector<std::string>& Items() const { return items_; }
    void Clear() {
        items_.clear();
        selected_.clear();
        index_ = -1;
        Changed();
    }
    // A sorted list puts the new item in its place, after equal ones.
    void Add(const std::string& text) {
        auto at = sorted_ ? std::upper_bound(items_.begin(), items_.end(), text) : items_.end();
        const auto pos = at - items_.begin();
        items_.insert(at, text);
        selected_.insert(selected_.begin() + pos, false);
        Changed();
    }
    void SetItem(int i, const std::string& text) {
        items_.at(i) = text;
        Changed();
    }

    // Current item, -1 = none.
    int ItemIndex() const { return index_; }
    void SetItemIndex(int i) { set(index_, i >= 0 && i < Count() ? i : -1); }

    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v) { set(multiSelect_, v); }
    bool Selected(int i) const { return i >= 0 && i < Count() && selected_[i]; }
    void SetSelected(int i, bool v) {
        if (i < 0 || i >= Count() || selected_[i] == v) return;
        selected_[i] = v;
        Changed();
    }
    int SelCount() const { return static_cast<int>(std::count(selected_.begin(), selected_.end(), true)); }

    // Turning Sorted on sorts the items (byte order, equal items keep their order).
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v) {
        sorted_ = v;
        if (!v) return;
        std::vector<int> order(items_.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return items_[a] < items_[b]; });
        std::vector<std::string> items;
        std::vector<bool> selected;
        for (int i : order) {
            items.push_back(items_[i]);
            selected.push_back(selected_[i]);
        }
        items_ = std::move(items);
        selected_ = std::move(selected);
        Changed();
    }

  private:
    std::vector<std::string> items_;
    std::vector<bool> selected_;
    int index_ = -1;
    bool multiSelect_ = false;
    bool sorted_ = false;
};

class ComboBox : public ListBox {
  public:
    using ListBox::ListBox;
    // Rows of the open drop-down list.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n) { set(dropDownCount_, n); }
    // The text shown: the current item's, or empty.
    std::string Text() const { return ItemIndex() >= 0 ? Item(ItemIndex()) : std::string(); }

  private:
    int dropDownCount_ = 8;
};
