#pragma once
// TSpokenPicture: a picture put together from several widgets (segment
// cells and their point, a clock's cells and colon, a strip of lamps) that
// a screen reader hears as one text, "98.7 MHz" or "07:30", instead of as
// parts without words. Its parts stay where they are drawn; only what is
// read changes. The owner sets the text whenever it changes the picture.
// A frame, so that a strip with a border of its own can be one.

#include <QAccessible>
#include <QFrame>
#include <QString>

namespace tunevox::display {

class TSpokenPicture : public QFrame {
    Q_OBJECT
public:
    // `role`: what it is to a screen reader (a text by default; a chart for
    // the scanner's spectrum).
    explicit TSpokenPicture(QWidget* parent = nullptr, QAccessible::Role role = QAccessible::StaticText);

    QAccessible::Role AccessibleRole() const { return role_; }
    // The text read (the accessible name); a screen reader is told of a
    // change, and only of a change.
    void SetSpokenText(const QString& text);
    QString SpokenText() const { return accessibleName(); }

private:
    QAccessible::Role role_;
};

// Sets `widget`'s accessible name, and tells a screen reader, only when it
// changes: the panel's parts are set on every tick of a seek.
void SetSpokenName(QWidget* widget, const QString& name);
void SetSpokenDescription(QWidget* widget, const QString& description);

// A frequency as it is read out: "98.7 MHz", "100 MHz", "1620 kHz" (the
// user's decimal separator; mhz in MHz on both bands).
QString SpokenFrequency(double mhz, bool fm);

} // namespace tunevox::display
