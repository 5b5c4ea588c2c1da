#include "gui/AppFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

void UseJapaneseFont() {
    const QString family = QStringLiteral("Noto Sans CJK JP");
    if (!QFontDatabase::families().contains(family)) return;
    QFont font = QApplication::font();
    font.setFamily(family);
    QApplication::setFont(font);
}

bool UseJapaneseTranslations() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QApplication::installTranslator(t);
    translator = t;
    return true;
}
