#include "app/window/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tunevox::app {

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("HelpWindow");
    setWindowTitle("Tunevox Help");
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
    resize(720, 560);
}

bool THelpWindow::ShowTopic(const QString& file, const QString& topic) {
    topic_ = topic;
    if (file != file_ || browser_->document()->isEmpty()) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            file_.clear();
            browser_->setHtml(QString("<h2>Help not found</h2><p>The help file <b>%1</b> is missing or "
                                      "unreadable: %2.</p>")
                                  .arg(file.toHtmlEscaped(), f.errorString().toHtmlEscaped()));
            return false;
        }
        browser_->setSearchPaths({QFileInfo(file).absolutePath()});
        browser_->setHtml(QString::fromUtf8(f.readAll()));
        file_ = file;
    }
    browser_->scrollToAnchor(topic);
    return true;
}

} // namespace tunevox::app
