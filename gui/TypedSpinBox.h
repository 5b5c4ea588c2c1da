#pragma once
// A spin box that takes every number typed into it. A plain spin box refuses the key
// that would put its text out of range, so "25" in an hour field would end as 2; here
// the whole number stands until editing ends and then becomes the nearest limit, which
// the form's own rule for that field (wrap round, keep within) takes from there.
#include <QSpinBox>

class TypedSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
