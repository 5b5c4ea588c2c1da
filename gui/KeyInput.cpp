#include "gui/KeyInput.h"

#include "platform/Controls.h"
#include "platform/Guard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QWidget>

namespace {

struct ControlKey {
    Qt::Key qt;
    char32_t code;
    const char* text;
};

constexpr ControlKey kControlKeys[] = {
    {Qt::Key_Return, Key::Enter, "\r"}, {Qt::Key_Enter, Key::Enter, "\r"},  {Qt::Key_Tab, Key::Tab, "\t"},
    {Qt::Key_Backtab, Key::Tab, "\t"},  {Qt::Key_Backspace, Key::Backspace, "\b"}, {Qt::Key_Escape, Key::Escape, "\x1b"},
};

} // namespace

char32_t KeyCharOf(const QKeyEvent& e) {
    for (const auto& k : kControlKeys)
        if (e.key() == k.qt) return k.code;
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    const QList<uint> chars = e.text().toUcs4();
    if (chars.isEmpty() || chars.front() < 0x20 || chars.front() == 0x7F) return 0;
    return chars.front();
}

std::unique_ptr<QKeyEvent> KeyEventFor(char32_t c, const QKeyEvent& original) {
    for (const auto& k : kControlKeys)
        if (k.code == c) return std::make_unique<QKeyEvent>(QEvent::KeyPress, k.qt, original.modifiers(), k.text);
    // Qt's codes for printable ASCII are the upper-case characters themselves.
    int qtKey = c < 0x80 ? static_cast<int>(QChar::toUpper(c)) : static_cast<int>(Qt::Key_unknown);
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, qtKey, original.modifiers(), QString::fromUcs4(&c, 1));
}

std::optional<char32_t> AskKey(const KeyHandler& handler, const QKeyEvent& e) {
    char32_t key = KeyCharOf(e);
    if (!handler || key == 0) return std::nullopt;
    char32_t asked = key;
    if (!Guard([&] { handler(asked); })) return key;
    return asked;
}

QString FilterCommitted(const KeyHandler& handler, const QString& text) {
    if (!handler) return text;
    QString kept;
    for (char32_t c : text.toUcs4()) {
        Guard([&] { handler(c); });
        if (c != 0) kept += QString::fromUcs4(&c, 1);
    }
    return kept;
}

void SendKey(QObject* target, char32_t c, const QKeyEvent& original) {
    KeyReplay replay;
    auto ev = KeyEventFor(c, original);
    QCoreApplication::sendEvent(target, ev.get());
}

bool FilterInputMethod(QObject* target, const QInputMethodEvent& e, const KeyHandler& handler) {
    if (KeyReplay::Active() || !handler || e.commitString().isEmpty()) return false;
    QString kept = FilterCommitted(handler, e.commitString());
    if (kept == e.commitString()) return false;
    QInputMethodEvent copy(e.preeditString(), e.attributes());
    copy.setCommitString(kept, e.replacementStart(), e.replacementLength());
    KeyReplay replay;
    QCoreApplication::sendEvent(target, &copy);
    return true;
}

void ApplyIme(QWidget* w, ImeMode mode) {
    if (!w || mode == ImeMode::DontCare) return;
    const bool on = mode != ImeMode::Close;
    w->setAttribute(Qt::WA_InputMethodEnabled, on);
    w->setInputMethodHints(on ? Qt::ImhNone : Qt::ImhPreferLatin);
    if (w->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

bool IsKanaText(const QString& text) {
    if (text.isEmpty()) return false;
    for (char32_t c : text.toUcs4()) {
        const bool kana = (c >= 0x3041 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F);
        if (!kana) return false;
    }
    return true;
}
