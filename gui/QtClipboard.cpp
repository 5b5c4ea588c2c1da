#include "gui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

std::string QtClipboard::GetText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

bool QtClipboard::HasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}
