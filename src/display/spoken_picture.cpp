#include "display/spoken_picture.h"

#include <QAccessibleWidget>
#include <QLocale>

#include <cmath>

namespace tunevox::display {

namespace {

// The picture without its parts: a screen reader that walked into the
// cells would find six nameless pictures where the user wants a number.
class TAccessibleSpokenPicture final : public QAccessibleWidget {
public:
    explicit TAccessibleSpokenPicture(TSpokenPicture* picture)
        : QAccessibleWidget(picture, picture->AccessibleRole()) {}
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* SpokenPictureFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(TSpokenPicture::staticMetaObject.className()) && object && object->isWidgetType())
        return new TAccessibleSpokenPicture(static_cast<TSpokenPicture*>(object));
    return nullptr;
}

} // namespace

TSpokenPicture::TSpokenPicture(QWidget* parent, QAccessible::Role role) : QFrame(parent), role_(role) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(SpokenPictureFactory);
        return true;
    }();
    (void)factoryInstalled;
}

void TSpokenPicture::SetSpokenText(const QString& text) { SetSpokenName(this, text); }

void SetSpokenName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
}

void SetSpokenDescription(QWidget* widget, const QString& description) {
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
}

QString SpokenFrequency(double mhz, bool fm) {
    if (!std::isfinite(mhz)) return {};
    if (!fm) return QString::number(std::lround(mhz * 1000.0)) + " kHz";
    // No zeros of the fraction that say nothing.
    QString number = QString::number(mhz, 'f', 3);
    while (number.endsWith('0')) number.chop(1);
    if (number.endsWith('.')) number.chop(1);
    number.replace('.', QLocale().decimalPoint());
    return number + " MHz";
}

} // namespace tunevox::display
