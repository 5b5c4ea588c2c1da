#pragma once
// A main window over a whole program (temporary program folder, scripted dialogs),
// shown offscreen, with its dialogs registered as at start-up.
#include "gui/FormRegistry.h"
#include "gui/GuiTestApp.h"
#include "gui/MainDialogs.h"
#include "gui/MainWindow.h"
#include "support/ProgramFixture.h"

#include <QLabel>
#include <QTabWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class MainWindowTest : public ProgramFixture {
protected:
    static void SetUpTestSuite() {
        TestApp();
        RegisterMainWindowDialogs();
    }

    std::unique_ptr<MainWindow> window;

    void TearDown() override {
        window.reset();
        ProgramFixture::TearDown();
    }

    void open() {
        window = std::make_unique<MainWindow>(form());
        window->show();
        window->activateWindow();
        Settle();
    }

    // A race as the open road leaves it: pages and count panel shown.
    void openRace() {
        form().TaikaiOpen = true;
        form().TaikaiNo = 1;
        form().ApplyCountsAndLayout();
        Settle();
    }

    QTabWidget* pages() const { return qobject_cast<QTabWidget*>(window->widgetFor("MainPage")); }
    QLabel* splash() const { return window->findChild<QLabel*>("Splash"); }

    GridView* grid(const StringGrid& g) const {
        GridView* v = window->gridFor(g);
        v->applyLayout();
        return v;
    }

    // Types text into a cell through its view, then Enter, as the user does.
    void typeCell(StringGrid& g, int col, int row, const QString& text) {
        GridView* v = grid(g);
        g.SetCurrent(col, row);
        PressKey(v, static_cast<int>(QChar::toUpper(text[0].unicode())), text.left(1));
        QWidget* target = v->editor() ? v->editor() : static_cast<QWidget*>(v);
        TypeText(target, text.mid(1));
        PressEnter(v->editor() ? v->editor() : target);
    }

    void clickCell(StringGrid& g, int col, int row, Qt::MouseButton button = Qt::LeftButton) {
        GridView* v = grid(g);
        ClickAt(v->viewport(), v->visualRect(v->model()->index(row, col)).center(), button);
    }

    void shot(int page) const { shot("mainwindow-page" + std::to_string(page) + ".png"); }

    void shot(const std::string& name) const { shot(window.get(), name); }

    // Saved only when TAVREN_SHOT_DIR names a folder.
    static void shot(QWidget* w, const std::string& name) {
        const char* dir = std::getenv("TAVREN_SHOT_DIR");
        if (!dir || !*dir) return;
        auto file = std::filesystem::path(dir) / name;
        EXPECT_TRUE(w->grab().save(QString::fromStdString(file.string()))) << file;
    }
};
