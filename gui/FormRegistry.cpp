#include "gui/FormRegistry.h"

#include <map>

namespace {

template <typename F> std::map<std::string, F>& registry() {
    static std::map<std::string, F> factories;
    return factories;
}

template <typename F> const F* find(const std::string& name) {
    auto& r = registry<F>();
    auto it = r.find(name);
    return it == r.end() ? nullptr : &it->second;
}

} // namespace

void RegisterDialog(const std::string& formName, DialogFactory make) {
    registry<DialogFactory>()[formName] = std::move(make);
}

void RegisterWindow(const std::string& formName, WindowFactory make) {
    registry<WindowFactory>()[formName] = std::move(make);
}

const DialogFactory* FindDialog(const std::string& formName) { return find<DialogFactory>(formName); }
const WindowFactory* FindWindow(const std::string& formName) { return find<WindowFactory>(formName); }
