#include "app/window/favorites_menus.h"

#include <QAction>
#include <QMenu>

namespace tunevox::app {

using radioset::kFavoriteCount;

TFavoritesMenus::TFavoritesMenus(QMenu* main, QMenu* tray, QObject* parent)
    : QObject(parent), main_(main), tray_(tray) {}

void TFavoritesMenus::Rebuild(const radioset::tFavorites& bank, const std::function<bool(int n)>& receivable) {
    // The items go later, not now: one of them may be the item whose click
    // is being handled. Without a parent they are no longer found meanwhile.
    for (QMenu* menu : {main_, tray_}) {
        for (QAction* a : menu->actions()) {
            menu->removeAction(a);
            a->setParent(nullptr);
            a->deleteLater();
        }
    }
    mainItems_.fill(nullptr);
    trayItems_.fill(nullptr);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        if (!bank[n].Used) continue;
        const QString digits = QString::fromStdString(radioset::TwoDigit(n));
        const QString name = QString::fromStdString(bank[n].Name);
        for (auto [menu, items, prefix] : {std::tuple{main_, &mainItems_, "m"}, std::tuple{tray_, &trayItems_, "f"}}) {
            QAction* a = menu->addAction(name);
            a->setObjectName(prefix + digits);
            a->setCheckable(true);
            a->setEnabled(receivable(n));
            connect(a, &QAction::triggered, this, [this, n] { emit chosen(n); });
            (*items)[n] = a;
        }
    }
}

void TFavoritesMenus::Check(int n) {
    for (int m = 1; m <= kFavoriteCount; ++m) {
        if (mainItems_[m]) mainItems_[m]->setChecked(m == n);
        if (trayItems_[m]) trayItems_[m]->setChecked(m == n);
    }
}

QAction* TFavoritesMenus::MainItem(int n) const { return n >= 1 && n <= kFavoriteCount ? mainItems_[n] : nullptr; }
QAction* TFavoritesMenus::TrayItem(int n) const { return n >= 1 && n <= kFavoriteCount ? trayItems_[n] : nullptr; }

} // namespace tunevox::app
