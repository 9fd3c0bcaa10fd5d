#pragma once
// The help: the program's own guide (an HTML file among the data files),
// shown in a window of ours at the topic asked for. One window serves every
// request; asking again brings it forward at the new topic.
//
// Beside the text stands the guide's contents, built from its headings: a
// heading that carries an anchor (<a name="...">) is a topic, nested under
// the topic of a smaller level before it; a heading without one (the
// guide's title) is not listed. The topic shown is the one selected there.
//
// Every place visited (a topic asked for, a link or a topic of the contents
// followed) joins a history that Back and Forward walk, each place coming
// back scrolled as it was left. Find searches the guide's text, ignoring
// case, and wraps at either end.
//
// Keys, wherever the focus is in the window: Alt+Left or Backspace back
// (Backspace edits the find field while that has the focus), Alt+Right
// forward, Ctrl+F find, F3 / Shift+F3 (Enter / Shift+Enter in the field)
// next and previous match, Escape closes the find bar, and the window when
// the bar is closed.

#include <QDialog>
#include <QHash>
#include <QString>

#include <vector>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;
class QWidget;

namespace tunevox::app {

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    // Loads `file` (once) and shows `topic` (an anchor of it; empty: the
    // start), as a new place in the history; false when the file cannot be
    // read (the window then says so instead).
    bool ShowTopic(const QString& file, const QString& topic);
    // The anchor of the place shown.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const { return browser_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct tTopic {
        QString anchor;
        int position = 0; // of its heading in the document
        QTreeWidgetItem* item = nullptr;
    };
    struct tPlace {
        QString topic;
        int scroll = -1; // the text's scroll position when left; -1: at the topic
    };

    QWidget* BuildToolBar();
    QWidget* BuildFindBar();
    bool Load(const QString& file);
    void BuildContents();
    // The document position of an anchor, -1 when the guide has none such.
    int AnchorPosition(const QString& anchor) const;

    // The history.
    void Go(const QString& topic);
    void Back();
    void Forward();
    void Show(const tPlace& place);
    void RememberScroll();
    void UpdateHistoryButtons();

    void FollowLink(const QUrl& url);
    void ContentsChosen(QTreeWidgetItem* item);
    // Selects the topic that holds `position` (none for -1), without
    // going anywhere.
    void SelectTopicAt(int position);

    // Find.
    void OpenFind();
    void CloseFind();
    void Find(bool backward, bool fromSelectionStart = false);
    void ShowFindStatus(const QString& text);
    bool HandleKey(QObject* watched, QKeyEvent* key);

    QTreeWidget* contents_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findField_ = nullptr;
    QLabel* findStatus_ = nullptr;

    QString file_;
    std::vector<tTopic> topics_; // in document order
    QHash<QString, int> anchors_; // every anchor of the guide: its position
    std::vector<tPlace> history_;
    int at_ = -1; // the place shown in history_
    bool selecting_ = false; // the contents' selection is being set by us
};

} // namespace tunevox::app
