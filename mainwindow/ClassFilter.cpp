// The class restriction of the overall results: one letter, or empty for none.
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

std::string TMainForm::GetClassFilter() const { return Trim(ClassFilter); }

void TMainForm::SetClassFilter(const std::string& text) { ClassFilter = text; }

// Byte for byte: a lower-case class letter is not the upper-case filter.
bool TMainForm::IsClassFilteredOut(char cls) const {
    std::string filter = GetClassFilter();
    return !filter.empty() && filter[0] != cls;
}
