// The help window: its contents built from the guide's headings and
// following the topic shown, the history walked by buttons and keys, find
// with its wrapping and its "not found", and names for screen readers;
// with a picture of the shipped guide.

#include "app/window/help_window.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>

namespace tunevox::app::test {
namespace {

// Three topics, the first with a subtopic, each long enough to scroll, and
// the word "kestrel" once in each topic's first paragraph.
QString Guide() {
    QString filler;
    for (int i = 0; i < 40; ++i) filler += "<p>A line of filler text.</p>";
    return "<html><head><title>Guide</title></head><body><h1>The guide</h1><p>Read on.</p>"
           "<h2><a name=\"Alpha\"></a>Alpha</h2><p>The kestrel hovers.</p>" +
           filler + "<h3><a name=\"Alpha_detail\"></a>Alpha detail</h3><p>Details.</p>" + filler +
           "<h3>Not a topic</h3><p>No anchor here.</p>"
           "<h2><a name=\"Beta\"></a>Beta</h2><p>A KESTREL again; see <a href=\"#Gamma\">the last topic</a>.</p>"
           "<p><a name=\"Beta_note\"></a>A note inside Beta.</p>" +
           filler + "<h2><a name=\"Gamma\"></a>Gamma</h2><p>The last kestrel.</p>" + filler + "</body></html>";
}

struct HelpRig {
    HelpRig() {
        file = dir.path() + "/Guide.html";
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(Guide().toUtf8());
        f.close();
        help.show();
        QCoreApplication::processEvents();
    }
    template <class T> T* Get(const char* name) { return help.findChild<T*>(name); }
    QTreeWidget* Contents() { return Get<QTreeWidget>("HelpContents"); }
    QString Selected() { return Contents()->currentItem() ? Contents()->currentItem()->text(0) : QString(); }
    int Scroll() { return help.Browser()->verticalScrollBar()->value(); }
    QString Match() { return help.Browser()->textCursor().selectedText(); }
    int MatchAt() { return help.Browser()->textCursor().selectionStart(); }
    QString Status() { return Get<QLabel>("HelpFindStatus")->text(); }
    void Key(QObject* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(target, &press);
    }
    void Click(QWidget* viewport, QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &e);
        }
    }

    QTemporaryDir dir;
    QString file;
    THelpWindow help;
};

TEST(HelpWindow, TheContentsListTheTopicsAndFollowTheTopicShownLinksAndChoices) {
    HelpRig r;
    ASSERT_TRUE(r.help.ShowTopic(r.file, "Beta"));
    QTreeWidget* contents = r.Contents();
    ASSERT_EQ(contents->topLevelItemCount(), 3) << "the title and a heading without an anchor are no topics";
    EXPECT_EQ(contents->topLevelItem(0)->text(0), "Alpha");
    ASSERT_EQ(contents->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(contents->topLevelItem(0)->child(0)->text(0), "Alpha detail");
    EXPECT_EQ(contents->topLevelItem(2)->text(0), "Gamma");
    EXPECT_EQ(r.Selected(), "Beta");
    EXPECT_GT(r.Scroll(), 0);

    // A link in the text: the topic it leads to is shown and selected.
    QTextCursor link = r.help.Browser()->document()->find("the last topic");
    ASSERT_FALSE(link.isNull());
    link.setPosition(link.selectionStart() + 3);
    r.Click(r.help.Browser()->viewport(), r.help.Browser()->cursorRect(link).center());
    EXPECT_EQ(r.help.CurrentTopic(), "Gamma");
    EXPECT_EQ(r.Selected(), "Gamma");

    // A subtopic chosen in the contents, then an anchor inside a topic.
    QTreeWidgetItem* detail = contents->topLevelItem(0)->child(0);
    contents->scrollToItem(detail);
    r.Click(contents->viewport(), contents->visualItemRect(detail).center());
    EXPECT_EQ(r.help.CurrentTopic(), "Alpha_detail");
    EXPECT_EQ(r.Selected(), "Alpha detail");
    r.help.ShowTopic(r.file, "Beta_note");
    EXPECT_EQ(r.Selected(), "Beta") << "the topic that holds the anchor";
    r.help.ShowTopic(r.file, "");
    EXPECT_EQ(r.Scroll(), 0);
    EXPECT_EQ(contents->currentItem(), nullptr) << "the start is before every topic";
}

TEST(HelpWindow, BackAndForwardWalkTheHistoryByButtonsAndKeysAndComeBackScrolledAsLeft) {
    HelpRig r;
    auto* back = r.Get<QAbstractButton>("HelpBack");
    auto* forward = r.Get<QAbstractButton>("HelpForward");
    QTextBrowser* text = r.help.Browser();
    r.help.ShowTopic(r.file, "Alpha");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    r.help.ShowTopic(r.file, "Beta");
    text->verticalScrollBar()->setValue(r.Scroll() + 37); // read on a little
    const int readTo = r.Scroll();
    r.help.ShowTopic(r.file, "Gamma");
    r.help.ShowTopic(r.file, "Gamma");
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    back->click();
    EXPECT_EQ(r.help.CurrentTopic(), "Beta") << "asking twice for a topic is one place";
    EXPECT_EQ(r.Scroll(), readTo);
    EXPECT_EQ(r.Selected(), "Beta");
    EXPECT_TRUE(forward->isEnabled());
    r.Key(text, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(r.help.CurrentTopic(), "Alpha");
    EXPECT_FALSE(back->isEnabled());
    r.Key(text, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(r.help.CurrentTopic(), "Alpha") << "nowhere further back";
    r.Key(r.Contents(), Qt::Key_Right, Qt::AltModifier);
    r.Key(forward, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(r.help.CurrentTopic(), "Gamma") << "the keys work wherever the focus is";
    EXPECT_FALSE(forward->isEnabled());
    r.Key(text, Qt::Key_Backspace);
    EXPECT_EQ(r.help.CurrentTopic(), "Beta");

    // Backspace in the find field deletes a character instead.
    r.Key(text, Qt::Key_F, Qt::ControlModifier, "\x06");
    auto* field = r.Get<QLineEdit>("HelpFindField");
    field->setText("ab");
    r.Key(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "a");
    EXPECT_EQ(r.help.CurrentTopic(), "Beta");

    // A new place after going back drops what lay ahead.
    r.help.ShowTopic(r.file, "Alpha_detail");
    EXPECT_FALSE(forward->isEnabled());
    back->click();
    EXPECT_EQ(r.help.CurrentTopic(), "Beta");
    back->click();
    EXPECT_EQ(r.help.CurrentTopic(), "Alpha");
}

TEST(HelpWindow, FindMovesBetweenMatchesWrapsAtTheEndsAndSaysWhenThereIsNone) {
    HelpRig r;
    r.help.ShowTopic(r.file, "");
    QTextBrowser* text = r.help.Browser();
    auto* bar = r.Get<QWidget>("HelpFindBar");
    auto* field = r.Get<QLineEdit>("HelpFindField");
    EXPECT_FALSE(bar->isVisible());
    r.Key(r.Contents(), Qt::Key_F, Qt::ControlModifier, "\x06");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(r.help.focusWidget(), field);

    field->setText("kestrel"); // found as it is typed, whatever the case
    EXPECT_EQ(r.Match(), "kestrel");
    EXPECT_EQ(r.Selected(), "Alpha");
    const int first = r.MatchAt();
    r.Key(field, Qt::Key_Return);
    EXPECT_EQ(r.Match(), "KESTREL");
    EXPECT_EQ(r.Selected(), "Beta") << "the contents follow the match";
    r.Key(text, Qt::Key_F3);
    EXPECT_EQ(r.Selected(), "Gamma");
    EXPECT_EQ(r.Status(), "");
    const int last = r.MatchAt();
    r.Key(field, Qt::Key_F3);
    EXPECT_EQ(r.MatchAt(), first);
    EXPECT_EQ(r.Status(), "Continued from the start");
    r.Key(field, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(r.MatchAt(), last);
    EXPECT_EQ(r.Status(), "Continued from the end");
    r.Key(field, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(r.Selected(), "Beta");
    r.Get<QAbstractButton>("HelpFindPrevious")->click();
    EXPECT_EQ(r.MatchAt(), first);
    r.Get<QAbstractButton>("HelpFindNext")->click();
    EXPECT_EQ(r.Selected(), "Beta");

    // Scrolled elsewhere, the search starts from what is being read.
    r.help.ShowTopic(r.file, "Alpha");
    r.Key(field, Qt::Key_Return);
    EXPECT_EQ(r.MatchAt(), first);

    field->setText("osprey");
    EXPECT_EQ(r.Status(), "Not found");
    EXPECT_EQ(r.Get<QLabel>("HelpFindStatus")->accessibleName(), "Not found");
    EXPECT_FALSE(text->textCursor().hasSelection());
    r.Key(field, Qt::Key_Return);
    EXPECT_EQ(r.Status(), "Not found");

    r.Key(field, Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(r.help.isVisible()) << "Escape closes the bar first";
    r.Key(text, Qt::Key_F3); // reopens the bar on the last words
    EXPECT_TRUE(bar->isVisible());
    r.Get<QAbstractButton>("HelpFindClose")->click();
    EXPECT_FALSE(bar->isVisible());
    r.Key(text, Qt::Key_Escape);
    EXPECT_FALSE(r.help.isVisible()) << "then the window";
}

TEST(HelpWindow, TheShippedGuideListsEveryTopicTheProgramOpensAndEveryControlIsNamed) {
    // Beside this test's folder: tests/app/window -> data.
    const QString guide = QFileInfo(QString(__FILE__)).dir().absoluteFilePath("../../../data/Tunevox.html");
    THelpWindow help;
    ASSERT_TRUE(help.ShowTopic(guide, "Scripting"));
    auto* contents = help.findChild<QTreeWidget*>("HelpContents");
    QStringList topics;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) topics << (*it)->data(0, Qt::UserRole).toString();
    // The topics the program's windows open, and those of the newer parts.
    for (const char* topic :
         {"Welcome", "Volume_controls", "Set_Signal_Strenght", "The_Alarm_function", "Sleep_function",
          "Tuning_radio_frequency", "The_organizer", "Edit_presets", "The_scanner", "Scripting",
          "Tuning_the_configuration", "Radio_devices", "Programming_mode", "Media_keys", "Remote_commands"})
        EXPECT_TRUE(topics.contains(topic)) << topic;
    EXPECT_EQ(contents->currentItem()->data(0, Qt::UserRole).toString(), "Scripting");
    EXPECT_EQ(topics.removeDuplicates(), 0);

    // The guide is well formed enough that no text escapes as markup.
    EXPECT_FALSE(help.Browser()->toPlainText().contains(QRegularExpression("</?[a-z]+[ >]")));

    help.show();
    QKeyEvent find(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier, "\x06");
    QCoreApplication::sendEvent(help.Browser(), &find);
    help.findChild<QLineEdit*>("HelpFindField")->setText(".tvs");
    EXPECT_EQ(help.Browser()->textCursor().selectedText(), ".tvs");
    QCoreApplication::processEvents(); // the window laid out as the bar left it
    EXPECT_TRUE(help.Browser()->viewport()->rect().contains(help.Browser()->cursorRect()))
        << "the match is in sight, above the find bar";
    tunevox::test::Screenshot(help, "help_window");
    tunevox::test::ExpectNothingClipped(help, "help window");

    for (QWidget* w : help.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QTreeWidget*>(w) || qobject_cast<QTextBrowser*>(w);
        if (control) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace tunevox::app::test
