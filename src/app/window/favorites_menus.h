#pragma once
// The two "Presets" submenus (the main menu's and the tray's): one radio
// item per used favorite, in ascending order, named "m" or "f" and the two
// digits of its number, captioned with its name. Kept by favorite number,
// so the window checks, renames and enables them without a search.

#include "radioset/favorites.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;

namespace tunevox::app {

class TFavoritesMenus : public QObject {
    Q_OBJECT
public:
    TFavoritesMenus(QMenu* main, QMenu* tray, QObject* parent = nullptr);

    // Both menus anew from the bank: every used favorite's items, enabled
    // where `receivable` says so, none checked.
    void Rebuild(const radioset::tFavorites& bank, const std::function<bool(int n)>& receivable);
    // The current favorite's items checked, every other item unchecked (0:
    // none checked).
    void Check(int n);
    QMenu* MainMenu() const { return main_; }
    QMenu* TrayMenu() const { return tray_; }
    // The item of favorite n (null when n is not used).
    QAction* MainItem(int n) const;
    QAction* TrayItem(int n) const;

signals:
    void chosen(int n);

private:
    QMenu* main_;
    QMenu* tray_;
    std::array<QAction*, radioset::kFavoriteCount + 1> mainItems_{};
    std::array<QAction*, radioset::kFavoriteCount + 1> trayItems_{};
};

} // namespace tunevox::app
