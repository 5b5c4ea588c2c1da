// Starts the program: the application, its services, the fourteen objects of the
// run (Program) and the main window; then the event loop.
#include "gui/AppFont.h"
#include "gui/MainDialogs.h"
#include "gui/MainWindow.h"
#include "gui/QtClipboard.h"
#include "gui/QtDialogs.h"
#include "gui/ReportPainter.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt sets the locale from the environment; numbers are written and read in "C".
    std::setlocale(LC_NUMERIC, "C");
    UseJapaneseFont();
    UseJapaneseTranslations();
    RegisterMainWindowDialogs();

    QtDialogs dialogs;
    QtClipboard clipboard;
    PosixShell shell;
    QtReportService reports;
    try {
        const char* argv0 = argc > 0 ? argv[0] : "tavren";
        Program program(ProgramEnv{ResolveProgramFolder(argv0), std::filesystem::path(argv0).filename().string(),
                                   &dialogs, &clipboard, &shell, &reports});
        MainWindow window(*program.mainForm);
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QString::fromStdString(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QStringLiteral("unknown error"));
    }
    return 1;
}
