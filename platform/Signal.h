#pragma once
// Minimal observer list: models notify the Qt views (or tests) of their changes.
#include <functional>
#include <utility>
#include <vector>

template <typename... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;
    void connect(Slot s) { slots_.push_back(std::move(s)); }
    void operator()(Args... args) const {
        for (const auto& s : slots_) s(args...);
    }
    void clear() { slots_.clear(); }

private:
    std::vector<Slot> slots_;
};
