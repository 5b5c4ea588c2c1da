#pragma once
// The one QApplication of the GUI tests (gtest_main owns main()): made on first use
// and never destroyed, so no test depends on the order of static destruction.
#include "gui/AppFont.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <clocale>
#include <functional>

inline QApplication& TestApp() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tavren_gui_tests";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        UseJapaneseFont();
        UseJapaneseTranslations();
        return a;
    }();
    return *app;
}

class GuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { TestApp(); }
};

// Lets queued work (coalesced grid layouts, timers due now) run.
inline void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

// Runs the event loop until done() or the time is up; done()'s last answer.
inline bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A key press and release as the keyboard delivers them to w.
inline void PressKey(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// Types printable text, one key per character.
inline void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text) PressKey(w, static_cast<int>(QChar::toUpper(c.unicode())), QString(c));
}

inline void PressEnter(QWidget* w) { PressKey(w, Qt::Key_Return, QStringLiteral("\r")); }

// A mouse press and release at p of w (a view's viewport).
inline void ClickAt(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, p, w->mapToGlobal(p), button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// Acts on the next modal box once it is up (the call that opens it does not return
// until it is closed).
inline void WhenModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(w);
    });
    poll->start();
}
