#include "app/window/tray_icon.h"

#include <QMenu>
#include <QTimer>

namespace tunevox::app {

TTrayIcon::TTrayIcon(bool create, QObject* parent) : QObject(parent) {
    clickTimer_ = new QTimer(this);
    clickTimer_->setObjectName("ClickTimer");
    clickTimer_->setSingleShot(true);
    clickTimer_->setInterval(doubleClickMs_);
    connect(clickTimer_, &QTimer::timeout, this, &TTrayIcon::ClickTimeout);
    if (create && QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this, &TTrayIcon::Activated);
        icon_->show();
    }
}

void TTrayIcon::SetMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_) icon_->setContextMenu(menu);
}

void TTrayIcon::SetHint(const QString& hint) {
    hint_ = hint;
    if (icon_) icon_->setToolTip(hint);
}

void TTrayIcon::SetIcon(const QIcon& icon) {
    if (icon_) icon_->setIcon(icon);
}

void TTrayIcon::SetDoubleClickTime(int ms) {
    doubleClickMs_ = std::clamp(ms, 0, 5000);
    clickTimer_->setInterval(doubleClickMs_);
}

void TTrayIcon::Hide() {
    clickTimer_->stop();
    if (icon_) icon_->hide();
}

void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick) return;
    if (clickTimer_->isActive() || reason == QSystemTrayIcon::DoubleClick) {
        clickTimer_->stop();
        emit doubleClicked();
        return;
    }
    if (doubleClickMs_ == 0) {
        emit clicked();
        return;
    }
    clickTimer_->start();
}

void TTrayIcon::ClickTimeout() {
    clickTimer_->stop();
    emit clicked();
}

} // namespace tunevox::app
