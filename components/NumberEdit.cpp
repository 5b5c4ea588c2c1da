#include "components/NumberEdit.h"

#include "components/Register.h"
#include "gui/QtText.h"

#include <QKeyEvent>
#include <QLocale>

#include <utility>

namespace components {

TNumberEdit::TNumberEdit(QWidget* parent)
    // The separators are the locale's (QLocale, not the C library's, which stays "C").
    : QLineEdit(parent), model_([](int v) { return ss(QLocale().toString(v)); }) {
    CreateParams();
    model_.OnText = [this] {
        showing_ = true;
        setText(qs(model_.GetText()));
        showing_ = false;
    };
    // Qt reports a user's edit before the change itself; any other change (QLineEdit's
    // own setText, clear) goes through the model, so the box never holds a text the
    // model does not.
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.EditText(ss(text));
        edited_ = true;
    });
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (std::exchange(edited_, false) || showing_) return;
        model_.SetText(ss(text));
    });
    model_.SetValue(0);
}

void TNumberEdit::CreateParams() {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

namespace {

// Keys that move the cursor or delete: they pass whatever text the window system
// gives them (X11 sends Delete with the character DEL).
bool isEditingKey(int key) {
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    }
    return false;
}

} // namespace

void TNumberEdit::keyPressEvent(QKeyEvent* e) {
    if (isEditingKey(e->key())) {
        QLineEdit::keyPressEvent(e);
        return;
    }
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
