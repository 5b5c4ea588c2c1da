#pragma once
// The component registry: what a form designer offers, by palette page. Each
// component unit's Register() adds its classes here.
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace components {

struct ComponentClass {
    std::string Name;
    std::function<QWidget*(QWidget* parent)> Create;
};

// Adds the classes to the page; a class already registered is kept once.
void RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes);
// The class names of a page in the order they were registered.
std::vector<std::string> RegisteredClasses(const std::string& page);
// A new instance of a registered class, nullptr for a name no page holds.
QWidget* CreateComponent(const std::string& name, QWidget* parent = nullptr);
// The four units' Register() in turn.
void RegisterAll();

} // namespace components
