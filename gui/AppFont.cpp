#include "gui/AppFont.h"

#include <QApplication>
#include <QFontDatabase>

void UseJapaneseFont() {
    const QString family = QStringLiteral("Noto Sans CJK JP");
    if (!QFontDatabase::families().contains(family)) return;
    QFont font = QApplication::font();
    font.setFamily(family);
    QApplication::setFont(font);
}
