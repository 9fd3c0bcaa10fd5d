#pragma once
// The "File" menu of the editors that keep their work in files (presets,
// scripts): New, Load, Save and Save as with the desktop's keys, in a
// menu bar of the window itself, where its shortcuts work, not in a
// desktop's global bar. Object names: "MainMenu", "File", "iNew", "iLoad",
// "iSave", "iSaveAs", so tests and a user's habits find them alike.

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace tunevox::widgets {

struct tFileMenu {
    QMenuBar* bar = nullptr;
    QAction* newFile = nullptr;
    QAction* load = nullptr;
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
};

tFileMenu MakeFileMenu(QWidget* owner, std::function<void()> onNew, std::function<void()> onLoad,
                       std::function<void()> onSave, std::function<void()> onSaveAs);

} // namespace tunevox::widgets
