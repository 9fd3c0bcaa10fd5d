#pragma once
// The spin fields of the dialogs. A QSpinBox reports changes of its value
// only; an emptied or half typed field keeps its old value without a word.
// The dialogs must know about such a text to hold OK back, so this field
// tells about every change of its text.

#include <QSpinBox>

namespace tunevox::widgets {

class TSpinField : public QSpinBox {
    Q_OBJECT
public:
    // digits: the value is shown with at least this many digits ("06"), and
    // no more than maxLength characters can be typed.
    TSpinField(int minimum, int maximum, int digits, int maxLength, QWidget* parent = nullptr);

    // Whether the text is a whole number within the range.
    bool HoldsNumber() const { return hasAcceptableInput(); }

signals:
    void TextEdited();

protected:
    QString textFromValue(int value) const override;

private:
    int digits_;
};

} // namespace tunevox::widgets
