#include "gui/TypedSpinBox.h"

#include <algorithm>

namespace {

constexpr int kMaxDigits = 9; // every such number is an int

// The typed text as a number: an optional sign and digits, nothing else.
bool typedNumber(const QString& text, int& value) {
    const QString t = text.trimmed();
    const int digitsFrom = !t.isEmpty() && (t[0] == u'-' || t[0] == u'+') ? 1 : 0;
    const qsizetype digits = t.size() - digitsFrom;
    if (digits < 1 || digits > kMaxDigits) return false;
    for (qsizetype i = digitsFrom; i < t.size(); ++i)
        if (!t[i].isDigit() || t[i].unicode() > '9') return false;
    value = t.toInt();
    return true;
}

} // namespace

QValidator::State TypedSpinBox::validate(QString& input, int&) const {
    const QString t = input.trimmed();
    if (t.isEmpty() || t == QStringLiteral("-") || t == QStringLiteral("+")) return QValidator::Intermediate;
    int v = 0;
    if (!typedNumber(t, v)) return QValidator::Invalid;
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

// Ending the edit: a number beyond the range becomes its nearest limit; anything else
// is left for the spin box to put its value back.
void TypedSpinBox::fixup(QString& input) const {
    int v = 0;
    if (typedNumber(input, v)) input = QString::number(std::clamp(v, minimum(), maximum()));
}
