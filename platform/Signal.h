#pragma once
// Minimal observer list: models notify the Qt views (or tests) of their changes.
#include <functional>
#include <utility>
#include <vector>

template <typename... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;
    void connect(Slot s) { slots_.push_back(std::move(s)); }
    // By index: a slot may connect further slots while the signal fires.
    void operator()(Args... args) const {
        for (size_t i = 0; i < slots_.size(); ++i) slots_[i](args...);
    }
    void clear() { slots_.clear(); }

private:
    std::vector<Slot> slots_;
};
