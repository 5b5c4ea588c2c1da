#include "components/NumberEdit.h"

#include "components/Register.h"
#include "gui/QtText.h"

#include <QKeyEvent>
#include <QLocale>

namespace components {

TNumberEdit::TNumberEdit(QWidget* parent)
    // The separators are the locale's (QLocale, not the C library's, which stays "C").
    : QLineEdit(parent), model_([](int v) { return ss(QLocale().toString(v)); }) {
    CreateParams();
    model_.OnText = [this] { setText(qs(model_.GetText())); };
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { model_.EditText(ss(text)); });
    model_.SetValue(0);
}

void TNumberEdit::CreateParams() {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TNumberEdit::keyPressEvent(QKeyEvent* e) {
    QList<uint> keys = e->text().toUcs4();
    if (keys.isEmpty() && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) keys.append(U'\r');
    for (uint k : keys) {
        char32_t key = k;
        NumberEditModel::KeyPress(key);
        if (key == 0) {
            e->accept(); // swallowed
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void TNumberEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    model_.DoEnter();
}

void TNumberEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    model_.DoExit();
}

QString TNumberEdit::GetQText() const {
    return qs(model_.GetText());
}
void TNumberEdit::SetQText(const QString& text) {
    model_.SetText(ss(text));
}

namespace NumberEdit {
void Register() {
    RegisterComponents("Samples", {{"TNumberEdit", [](QWidget* p) { return new TNumberEdit(p); }}});
}
} // namespace NumberEdit

} // namespace components
