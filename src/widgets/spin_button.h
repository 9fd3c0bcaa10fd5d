#pragma once
// TSpinButton: a button of two halves, an arrow up and an arrow down,
// painted in the same bevels as TGlyphButton. It steps through something
// (the tuning step, the row of favorites) and never takes the focus.
//
// To a screen reader each half is a push button of its own, named by the
// window (SetHalfNames) and unavailable while its arrow is disabled;
// pressing one does what a click on that half does.

#include <QWidget>

class QAbstractButton;

namespace tunevox::widgets {

class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr);
    void SetUpEnabled(bool on);
    void SetDownEnabled(bool on);
    // What the two halves do, in words ("Larger step", "Smaller step").
    void SetHalfNames(const QString& top, const QString& bottom);
    // The halves as a screen reader finds them.
    QAbstractButton* TopHalf() const { return top_; }
    QAbstractButton* BottomHalf() const { return bottom_; }

signals:
    void topClicked();
    void bottomClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int pressed_ = 0; // 1 top, 2 bottom
    bool upEnabled_ = true;
    bool downEnabled_ = true;
    QAbstractButton* top_ = nullptr;
    QAbstractButton* bottom_ = nullptr;
};

} // namespace tunevox::widgets
