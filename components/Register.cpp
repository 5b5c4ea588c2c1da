#include "components/Register.h"

#include "components/ClorCalendar.h"
#include "components/DaySdler.h"
#include "components/DgitClock.h"
#include "components/NumberEdit.h"

#include <algorithm>

namespace components {

namespace {

struct Page {
    std::string Name;
    std::vector<ComponentClass> Classes;
};

std::vector<Page>& pages() {
    static std::vector<Page> all;
    return all;
}

const ComponentClass* find(const std::string& name) {
    for (const Page& p : pages())
        for (const ComponentClass& c : p.Classes)
            if (c.Name == name) return &c;
    return nullptr;
}

} // namespace

void RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) {
    auto it = std::find_if(pages().begin(), pages().end(), [&](const Page& p) { return p.Name == page; });
    if (it == pages().end()) it = pages().insert(pages().end(), Page{page, {}});
    for (const ComponentClass& c : classes)
        if (!find(c.Name)) it->Classes.push_back(c);
}

std::vector<std::string> RegisteredClasses(const std::string& page) {
    std::vector<std::string> names;
    for (const Page& p : pages())
        if (p.Name == page)
            for (const ComponentClass& c : p.Classes)
                names.push_back(c.Name);
    return names;
}

QWidget* CreateComponent(const std::string& name, QWidget* parent) {
    const ComponentClass* c = find(name);
    return c ? c->Create(parent) : nullptr;
}

void RegisterAll() {
    ClorCalendar::Register();
    DaySdler::Register();
    DgitClock::Register();
    NumberEdit::Register();
}

} // namespace components
