#pragma once
// The help: the program's own guide (an HTML file among the data files),
// shown in a window of ours at the topic asked for. One window serves every
// request; asking again brings it forward at the new topic.

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace tunevox::app {

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    // Loads `file` (once) and scrolls to `topic`; false when the file
    // cannot be read (the window then says so instead).
    bool ShowTopic(const QString& file, const QString& topic);
    QString CurrentTopic() const { return topic_; }
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
    QString file_;
    QString topic_;
};

} // namespace tunevox::app
