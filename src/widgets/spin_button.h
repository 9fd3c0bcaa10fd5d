#pragma once
// TSpinButton: a button of two halves, an arrow up and an arrow down,
// painted in the same bevels as TGlyphButton. It steps through something
// (the tuning step, the row of favorites) and never takes the focus.

#include <QWidget>

namespace tunevox::widgets {

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

} // namespace tunevox::widgets
