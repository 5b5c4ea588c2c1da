#pragma once
// UTF-8 std::string <-> QString at the boundary between the models and Qt.
#include <QColor>
#include <QString>

#include <string>

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }
// A model colour (0xRRGGBB) as a Qt colour.
inline QColor rgb(int color) { return QColor::fromRgb(static_cast<QRgb>(color) | 0xFF000000u); }
