// Shows the four visual components; with a folder named on the command line it
// writes a picture of each there at a fixed date and time instead, offscreen.
#include "components/ComponentsDemo.h"
#include "components/Register.h"
#include "gui/AppFont.h"

#include <QApplication>
#include <QLocale>

#include <clocale>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc > 1 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    UseJapaneseFont();
    components::RegisterAll();

    if (argc > 1) {
        std::string error;
        if (!components::WriteDemoShots(argv[1], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    components::ComponentsDemo demo(components::SystemNow);
    demo.show();
    return app.exec();
}
