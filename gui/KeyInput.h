#pragma once
// Typed characters as the handlers see them (char32_t, with Enter, Tab, Backspace and
// Escape as their key codes), and the replay of a key a handler replaced.
#include "platform/Controls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <functional>
#include <memory>
#include <optional>

using KeyHandler = std::function<void(char32_t& key)>;

// The character a key press hands to the handlers; 0 for keys that type nothing
// (arrows, function keys, shortcuts with Ctrl/Alt/Meta).
char32_t KeyCharOf(const QKeyEvent& e);

// A key press typing c, with the original's modifiers.
std::unique_ptr<QKeyEvent> KeyEventFor(char32_t c, const QKeyEvent& original);

// Runs the handler (guarded) on the key of e. nullopt when e types nothing or there is
// no handler; otherwise the key the handler left (0 = discard).
std::optional<char32_t> AskKey(const KeyHandler& handler, const QKeyEvent& e);

// Each character of an input method's committed text through the handler; the kept text.
QString FilterCommitted(const KeyHandler& handler, const QString& text);

// Delivers a key press typing c to target as a replay (see KeyReplay).
void SendKey(QObject* target, char32_t c, const QKeyEvent& original);

// Runs the committed text of e through the handler. When that changed it, a copy with
// the kept text has been delivered to target as a replay and e must be dropped: true.
bool FilterInputMethod(QObject* target, const QInputMethodEvent& e, const KeyHandler& handler);

// The input method state a form asks for, on one widget: Close turns the input method
// off there, Hiragana and HalfKatakana turn it on; DontCare leaves the widget alone.
void ApplyIme(QWidget* w, ImeMode mode);

// True for a non-empty text of hiragana and katakana (half-width included) only: what
// an input method shows as the reading before conversion.
bool IsKanaText(const QString& text);

// While one exists, the key events being delivered were already shown to the handler
// (a replaced key, or a key a view forwards to its editor): filters let them pass.
class KeyReplay {
public:
    KeyReplay() { ++depth_; }
    ~KeyReplay() { --depth_; }
    KeyReplay(const KeyReplay&) = delete;
    KeyReplay& operator=(const KeyReplay&) = delete;
    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};
