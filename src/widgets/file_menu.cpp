#include "widgets/file_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tunevox::widgets {

tFileMenu MakeFileMenu(QWidget* owner, std::function<void()> onNew, std::function<void()> onLoad,
                       std::function<void()> onSave, std::function<void()> onSaveAs) {
    tFileMenu m;
    m.bar = new QMenuBar(owner);
    m.bar->setObjectName("MainMenu");
    m.bar->setNativeMenuBar(false);
    QMenu* file = m.bar->addMenu("&File");
    file->setObjectName("File");
    auto item = [owner, file](const char* name, const QString& caption, QKeySequence::StandardKey key,
                              std::function<void()> handler) {
        QAction* a = file->addAction(caption, owner, std::move(handler));
        a->setObjectName(name);
        a->setShortcuts(key);
        return a;
    };
    m.newFile = item("iNew", "New", QKeySequence::New, std::move(onNew));
    m.load = item("iLoad", "Load", QKeySequence::Open, std::move(onLoad));
    m.save = item("iSave", "Save", QKeySequence::Save, std::move(onSave));
    m.saveAs = item("iSaveAs", "Save as", QKeySequence::SaveAs, std::move(onSaveAs));
    return m;
}

} // namespace tunevox::widgets
