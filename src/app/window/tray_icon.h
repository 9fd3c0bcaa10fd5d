#pragma once
// The radio's icon in the desktop's system tray, kept beside the main
// window rather than inside it. It tells a click from a double click by
// the user's own double-click time (a click toggles mute, a double click
// shows or hides the window, so a double click must never also mute), and
// it keeps its menu and hint even where no tray exists, so the window's
// logic is the same everywhere.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <QMenu>
class QTimer;

namespace tunevox::app {

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    // create: put a real icon into the system tray when the desktop has one.
    TTrayIcon(bool create, QObject* parent = nullptr);
    // A real icon is shown: minimizing can hide the window in the tray.
    bool Visible() const { return icon_ != nullptr; }
    void SetMenu(QMenu* menu);
    QMenu* Menu() const { return menu_; }
    void SetHint(const QString& hint);
    QString Hint() const { return hint_; }
    void SetIcon(const QIcon& icon);
    void SetDoubleClickTime(int ms);
    int DoubleClickTime() const { return doubleClickMs_; }
    void Hide();

    // What the desktop reports; the first click waits for a second one.
    void Activated(QSystemTrayIcon::ActivationReason reason);
    // The double-click time ran out after a single click.
    void ClickTimeout();

signals:
    void clicked();
    void doubleClicked();

private:
    QSystemTrayIcon* icon_ = nullptr;
    QPointer<QMenu> menu_;
    QTimer* clickTimer_ = nullptr;
    QString hint_;
    int doubleClickMs_ = 400;
};

} // namespace tunevox::app
