#pragma once
// TColorGrid: the sixteen palette colours as a 4 x 4 grid of swatches. A
// left click picks the foreground colour (marked "FG"), a right click the
// background colour ("BG") when the grid offers one. Arrow keys move the
// foreground choice, with Shift the background choice.
//
// A screen reader hears it as a colour chooser named by its label and the
// colours chosen ("Digits: lime on black"), so that every arrow key is
// heard as the colour it picks.

#include <QWidget>

namespace tunevox::setup {

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TColorGrid(bool withBackground, QWidget* parent = nullptr);

    int ForegroundIndex() const { return foreground_; }
    int BackgroundIndex() const { return background_; }
    bool HasBackground() const { return withBackground_; }
    // Indexes outside 0..15 are ignored. A real change emits Changed.
    void SetForegroundIndex(int index);
    void SetBackgroundIndex(int index);
    // The palette index under a point of the widget, or -1.
    int IndexAt(QPoint at) const;
    // What the colours are for ("Digits"); the accessible name adds them.
    void SetSpokenLabel(const QString& label);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr int kCell = 22;

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QRect CellRect(int index) const;
    void UpdateSpokenName();

    bool withBackground_;
    int foreground_ = 0;
    int background_ = 0;
    QString spokenLabel_;
};

} // namespace tunevox::setup
