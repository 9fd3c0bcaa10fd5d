#pragma once
// Small controls of the main window, painted by us so that they stay crisp
// and legible at the radio's compact sizes whatever the desktop style:
// a push button with a lamp glyph beside its caption, a two-halved spin
// button, and a titled group frame.

#include <QAbstractButton>
#include <QFrame>
#include <QImage>
#include <QWidget>

namespace tunevox::app {

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
};

class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);
    void SetUpEnabled(bool on);
    void SetDownEnabled(bool on);

signals:
    void topClicked();
    void bottomClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int pressed_ = 0; // 1 top, 2 bottom
    bool upEnabled_ = true;
    bool downEnabled_ = true;
};

class TGroupFrame : public QFrame {
    Q_OBJECT
public:
    TGroupFrame(const QString& title, QWidget* parent = nullptr);
    QString Title() const { return title_; }
    static constexpr int kTitleHeight = 11;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString title_;
};

} // namespace tunevox::app
