#include "widgets/spin_field.h"

#include <QLineEdit>

namespace tunevox::widgets {

TSpinField::TSpinField(int minimum, int maximum, int digits, int maxLength, QWidget* parent)
    : QSpinBox(parent), digits_(digits) {
    setRange(minimum, maximum);
    setAlignment(Qt::AlignRight);
    lineEdit()->setMaxLength(maxLength);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinField::TextEdited);
}

QString TSpinField::textFromValue(int value) const { return QString("%1").arg(value, digits_, 10, QChar('0')); }

} // namespace tunevox::widgets
