#pragma once
// TGroupFrame: a titled frame around a group of controls, its title in a
// small font cut into the top line, drawn by us so that it takes no more
// room than the radio's compact layouts give it.

#include <QFrame>
#include <QString>

namespace tunevox::widgets {

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

} // namespace tunevox::widgets
