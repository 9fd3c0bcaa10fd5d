#pragma once
// TGlyphButton: a push button with a lamp glyph beside or above its caption,
// painted by us so that it stays crisp and legible at the radio's compact
// sizes whatever the desktop style. The main window's band, tuning and
// favorite buttons are made of it, and so is every grid of favorites.
//
// A screen reader hears it as a push button named by its caption, or by
// its accessible name where the caption is an arrow or a short code. A
// button whose lamp shows a state (mute, alarm, the band that is on) is a
// switch to it, pressed while the lamp is on (SetSwitchOn).

#include <QAbstractButton>
#include <QImage>

namespace tunevox::widgets {

class TGlyphButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TGlyphButton(const QString& caption, QWidget* parent = nullptr);
    void SetGlyph(const QImage& glyph);
    const QImage& Glyph() const { return glyph_; }
    // Glyph above the caption (favorite buttons) or left of it.
    void SetGlyphOnTop(bool onTop);
    // A button of a group of which one is down (the band buttons).
    void SetDown(bool down);
    bool IsDown() const { return down_; }
    // Makes the button a switch to a screen reader, pressed while `on`;
    // a change is announced.
    void SetSwitchOn(bool on);
    bool IsSwitch() const { return isSwitch_; }
    bool SwitchOn() const { return switchOn_; }
    QSize sizeHint() const override;

signals:
    void rightClicked(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QImage glyph_;
    bool glyphOnTop_ = false;
    bool down_ = false;
    bool isSwitch_ = false;
    bool switchOn_ = false;
};

} // namespace tunevox::widgets
