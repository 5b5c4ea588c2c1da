#pragma once
// A whole value typed over a spin box's text and Enter, every key sent at once with no
// event-loop turn between them, as a fast typist does.
#include <QAbstractSpinBox>
#include <QTest>

inline void TypeSpinValue(QAbstractSpinBox* spin, const QString& text) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
}
