// What a screen reader finds in the program's windows: every control a
// user can reach has a name to be read, and the display panel reads as
// text that follows the radio.

#include "app/window/window_fixture.h"

#include "app/dialogs/exit_dialog.h"
#include "app/dialogs/port_access_dialog.h"
#include "app/window/help_window.h"
#include "radio/radio_types.h"
#include "radioset/radio_set.h"
#include "script/script.h"
#include "setup/setup_dialog.h"
#include "widgets/glyph_button.h"
#include "widgets/spin_button.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QListWidget>
#include <QSlider>
#include <QStackedWidget>
#include <QTreeView>

#include <algorithm>
#include <vector>

namespace tunevox::app::test {
namespace {

// The roles a user operates, whose name is all a screen reader has to say
// what they do.
bool Operated(QAccessible::Role role) {
    static const QList<QAccessible::Role> operated{
        QAccessible::Button,       QAccessible::CheckBox,     QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::Slider,       QAccessible::SpinBox,      QAccessible::EditableText, QAccessible::List,
        QAccessible::Tree,         QAccessible::Table,        QAccessible::PageTab,     QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown, QAccessible::ColorChooser, QAccessible::Chart};
    return operated.contains(role);
}

// A name says something when it holds a word or a number: a caption of
// arrows ("◂◂") is a picture, not a name.
bool Speaks(const QString& name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The text of a label that names `a` for a screen reader (a QLabel whose
// buddy it is), empty without one.
QString LabelOf(QAccessibleInterface* a) {
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        if (label && label->role() == QAccessible::StaticText) return label->text(QAccessible::Name);
    return {};
}

bool Named(QAccessibleInterface* a, const QWidget* widget) {
    // On this desktop a combo box's name is the entry chosen, which says
    // nothing of what is chosen: that takes a label or a name of its own.
    if (a->role() == QAccessible::ComboBox)
        return (widget && Speaks(widget->accessibleName())) || Speaks(LabelOf(a));
    return Speaks(a->text(QAccessible::Name)) || Speaks(LabelOf(a));
}

// Walks the accessible tree under `a` and notes every control a user
// operates, or a widget that takes the focus, that has no name to read.
// What is hidden in the window is not read; the test shows it first.
void Walk(QAccessibleInterface* a, QAccessibleInterface* parent, const QString& window, QStringList& unnamed,
          int depth = 0) {
    ASSERT_LT(depth, 50) << "the accessible tree of " << window.toStdString() << " loops";
    if (!a || !a->isValid()) return;
    const QAccessible::Role role = a->role();
    const auto* widget = qobject_cast<const QWidget*>(a->object());
    const bool ownWidget = widget && !(parent && parent->object() == a->object());
    if (ownWidget && !widget->isWindow() && !widget->isVisibleTo(widget->window())) return;
    const bool focusable = ownWidget && widget->focusPolicy() != Qt::NoFocus && role != QAccessible::Client &&
                           role != QAccessible::Window && role != QAccessible::Dialog;
    if ((Operated(role) || focusable) && !Named(a, ownWidget ? widget : nullptr))
        unnamed << window + ": " +
                       (ownWidget ? widget->objectName() + " " + widget->metaObject()->className()
                                  : (parent && parent->object() ? parent->object()->objectName() : "?") + " part") +
                       QString(" (role 0x%1)").arg(role, 0, 16);
    // A combo box's list is its own popup, which it names.
    if (role == QAccessible::ComboBox) return;
    for (int i = 0; i < a->childCount(); ++i) Walk(a->child(i), a, window, unnamed, depth + 1);
}

// The window as it stands, and once with each page of each stack of pages
// (the settings' tabs, the script editor's property panels) turned up.
void WalkWindow(QWidget& window, QStringList& unnamed, QStringList& walked) {
    walked << window.objectName();
    auto walk = [&] { Walk(QAccessible::queryAccessibleInterface(&window), nullptr, window.objectName(), unnamed); };
    walk();
    for (QStackedWidget* stack : window.findChildren<QStackedWidget*>()) {
        const int shown = stack->currentIndex();
        for (int i = 0; i < stack->count(); ++i) {
            if (i == shown) continue;
            stack->setCurrentIndex(i);
            walk();
        }
        stack->setCurrentIndex(shown);
    }
    unnamed.removeDuplicates();
}

// Answers a modal window by walking it; it then closes as cancelled.
std::function<int(QDialog&)> WalkAndCancel(QStringList& unnamed, QStringList& walked) {
    return [&unnamed, &walked](QDialog& d) {
        WalkWindow(d, unnamed, walked);
        return int(QDialog::Rejected);
    };
}

TEST(Accessibility, EveryControlOfEveryWindowHasANameToRead) {
    {
        // The walk finds what it looks for: a slider and an arrow without words.
        QDialog probe;
        new QSlider(&probe);
        new widgets::TGlyphButton(QString::fromUtf8("\u25C2"), &probe);
        QStringList found, seen;
        WalkWindow(probe, found, seen);
        EXPECT_EQ(found.size(), 2) << found.join("\n").toStdString();
    }
    WindowRig r("[Configuration]\nHardware=9\nVolumeLine=1\nRadioDevice=/dev/radio0\nShutDown=2\nHideMainForm=0\n"
                "[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=3,\nStation03=M 098.700 Radio One\n");
    {
        QFile db(r.dir.path() + "/Tunevox.db");
        ASSERT_TRUE(db.open(QIODevice::WriteOnly));
        db.write("[Archive]\nRows=2\nRow1=1 1 0 X 000.000 Jazz\nRow2=2 2 1 M 090.500 Jazz FM\n");
    }
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    QStringList unnamed, walked;
    WalkWindow(w, unnamed, walked);

    // The settings for a card on I/O ports, a serial radio and a radio
    // device: each shows its own port.
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& setup = dynamic_cast<setup::tdSetup&>(d);
        auto* models = d.findChild<QListWidget*>("HwList");
        EXPECT_NE(models, nullptr);
        for (radio::tModel model : {radio::mRadioTrack, radio::mRadioMan, radio::mV4L2}) {
            if (!models) break;
            models->setCurrentRow(model);
            setup.HwListChange();
            WalkWindow(d, unnamed, walked);
        }
        return int(QDialog::Rejected);
    });
    w.Options_Settings();
    // The organizer with a station chosen, which shows its tuner.
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto* tree = d.findChild<QTreeView*>("RadioTree");
        EXPECT_NE(tree, nullptr);
        const QModelIndexList found = tree ? tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole,
                                                                   "Jazz FM", 1, Qt::MatchRecursive)
                                           : QModelIndexList{};
        EXPECT_EQ(found.size(), 1);
        if (!found.isEmpty()) tree->setCurrentIndex(found[0]);
        WalkWindow(d, unnamed, walked);
        return int(QDialog::Rejected);
    });
    w.Stations_Organize();
    // The script editor with a program, which shows the event's fields.
    script::tScript program;
    ASSERT_EQ(script::ParseScript(";Morning\r\nPreset.0801.3.ST\r\nOff.0802\r\n", program), script::srOk);
    r.Set().TakeScript(std::move(program));
    r.Set().SetProgramming(false);

    for (void (tdMain::*open)() : {&tdMain::Stations_Scanner, &tdMain::Stations_EditPresets, &tdMain::Actions_Prog,
                                   &tdMain::Volume_Mixer, &tdMain::Actions_Alarm, &tdMain::Actions_Sleep,
                                   &tdMain::Actions_Jump, &tdMain::Options_SetSignalStrenght,
                                   &tdMain::Stations_Rename, &tdMain::Help_About, &tdMain::ShowTipOfTheDay}) {
        r.ui.dialogAnswers.push_back(WalkAndCancel(unnamed, walked));
        (w.*open)();
    }
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        WalkWindow(d, unnamed, walked);
        return int(tdExit::NotExit);
    });
    w.File_Exit();
    // The windows the main window does not open modally are built here.
    THelpWindow help;
    WalkWindow(help, unnamed, walked);
    tdGiveIO notice("AIMS Lab RadioTrack", "cannot reach the ports", nullptr);
    WalkWindow(notice, unnamed, walked);

    walked.removeDuplicates();
    walked.sort();
    EXPECT_EQ(walked, (QStringList{"HelpWindow", "TAboutBox", "tTipOfTheDayForm", "tdAlarm", "tdEditFavorites",
                                   "tdExit", "tdGiveIO", "tdJumpTo", "tdMain", "tdMixer", "tdName", "tdOrganizer",
                                   "tdProgr", "tdScanner", "tdSetup", "tdSigStr", "tdSnooze"}))
        << "every window was opened";
    EXPECT_TRUE(unnamed.isEmpty()) << "controls without a name to read:\n" << unnamed.join("\n").toStdString();
}

QAccessibleInterface* Reader(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
QString NameOf(QWidget* w) { return Reader(w)->text(QAccessible::Name); }

TEST(Accessibility, ThePanelAndTheButtonsReadWhatTheyShowAsTheRadioChanges) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Audio]\nVolume=128\n[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=3,\nStation03=M 098.700 Radio One\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    QWidget* panel = w.Control("Panel");
    QWidget* readout = w.Control("Readout");
    ASSERT_TRUE(panel && readout);
    EXPECT_EQ(Reader(readout)->childCount(), 0) << "the cells are read as one frequency";
    EXPECT_EQ(NameOf(readout), "98.7 MHz");
    EXPECT_EQ(NameOf(w.Control("StationNum")), "Favorite 3");
    EXPECT_EQ(Reader(panel)->text(QAccessible::Description).left(36), "FM 98.7 MHz, Favorite 3: Radio One, ");
    QWidget* three = w.Control("btRadio03");
    EXPECT_EQ(NameOf(three), "Favorite 3: Radio One");
    EXPECT_TRUE(Reader(three)->state().checked) << "its lamp is lit";
    EXPECT_EQ(NameOf(w.Control("btRadio04")), "Favorite 4 (empty)");

    // A tuning away from the favorite: the readout, the number and the
    // button follow.
    r.Set().GoToFrequency(radio::bFM, false, 100.0);
    EXPECT_EQ(NameOf(readout), "100 MHz");
    EXPECT_EQ(NameOf(w.Control("StationNum")), "No favorite");
    EXPECT_FALSE(Reader(three)->state().checked);
    const QString tuned = Reader(panel)->text(QAccessible::Description);
    EXPECT_TRUE(tuned.startsWith("FM 100 MHz")) << tuned.toStdString();
    EXPECT_FALSE(tuned.contains("Favorite")) << tuned.toStdString();

    // Mute: the lamp, the MTE switch and the panel say so; and back.
    QWidget* lamp = w.Control("icMusicOnOff");
    QWidget* mute = w.Control("btMute");
    EXPECT_EQ(NameOf(lamp), "Not muted");
    w.Volume_Mute();
    EXPECT_EQ(NameOf(lamp), "Muted");
    EXPECT_EQ(NameOf(mute), "Mute");
    EXPECT_TRUE(Reader(mute)->state().checked);
    EXPECT_TRUE(Reader(panel)->text(QAccessible::Description).endsWith(", Muted"));
    w.Volume_Mute();
    EXPECT_EQ(NameOf(lamp), "Not muted");
    EXPECT_FALSE(Reader(mute)->state().checked);
    EXPECT_FALSE(Reader(panel)->text(QAccessible::Description).contains("Muted"));

    // The bank changes under the buttons: a favorite stored, another row.
    r.ui.dialogAnswers.push_back(AnswerName("Jazz"));
    w.StoreFavorite(4);
    EXPECT_EQ(NameOf(w.Control("btRadio04")), "Favorite 4: Jazz");
    auto* rows = w.findChild<widgets::TSpinButton*>("btNextPrev");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(NameOf(rows->BottomHalf()), "Next row of favorites");
    EXPECT_TRUE(Reader(rows->TopHalf())->state().disabled) << "no row above the first";
    rows->BottomHalf()->click();
    EXPECT_EQ(w.FavoritesRow(), 2);
    EXPECT_EQ(NameOf(w.Control("btRadio01")), "Favorite 11 (empty)");
}

} // namespace
} // namespace tunevox::app::test
