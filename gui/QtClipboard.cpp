#include "gui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

std::string QtClipboard::GetText() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}
