// The script editor's window as a user works it: kinds dragged onto the
// program and lines dragged back, the property panel of every kind, the
// file menu, and the question before a changed script is thrown away.

#include "scripteditor/script_editor_dialog.h"

#include "radioset/radio_set_fixture.h"
#include "support/qt_test_support.h"
#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>

namespace tunevox::scripteditor {
namespace {

using radioset::test::RadioSetRig;
using tunevox::test::ScriptedInteraction;
using widgets::tMsgResult;

constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                        "[Frequency]\nFrequency=M 090.500\n"
                        "[Presets]\nList=3,5,\nStation03=M 098.700 Radio One\nStation05=M 101.900 Dance\n";

struct WindowRig {
    explicit WindowRig(const std::string& lines = "") : r(kIni) {
        r.Start();
        if (lines.empty()) return;
        script::tScript s;
        EXPECT_EQ(script::ParseScript(";Morning\r\n" + lines, s), script::srOk);
        r.Set().TakeScript(std::move(s));
        r.Set().SetProgramming(false);
    }
    tdProgr& Open() {
        // 24-hour times whatever the machine's locale, so texts compare.
        dialog = std::make_unique<tdProgr>(r.Set(), ui, widgets::tHelpFn{}, nullptr, QLocale(QLocale::German));
        // Laid out, so a drop finds the line under the pointer.
        dialog->show();
        return *dialog;
    }
    // A drop as the list receives it from a drag.
    void Drop(QListWidget* list, const tDraggedAction& what, int line) {
        std::unique_ptr<QMimeData> mime(MakeActionMime(what));
        const QPoint at = line < list->count() ? list->visualItemRect(list->item(line)).center()
                                               : QPoint(5, list->viewport()->height() - 3);
        // As a drag arrives: into the list, over the line, dropped.
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        for (QDropEvent* e : {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop})
            QCoreApplication::sendEvent(list->viewport(), e);
    }
    std::string Lines() const {
        QStringList lines;
        for (int i = 0; i < dialog->Script->count(); ++i) {
            const QListWidgetItem* item = dialog->Script->item(i);
            lines << item->text() + " " + item->data(TScriptList::kTimeRole).toString();
        }
        return lines.join(" | ").toStdString();
    }
    RadioSetRig r;
    ScriptedInteraction ui;
    std::unique_ptr<tdProgr> dialog;
};

TEST(ScriptEditorWindow, DragsBuildTheProgramAndEveryKindShowsItsPanel) {
    WindowRig w("Beep.0700.3.880.200\r\nVolume.0702.15\r\n");
    tdProgr& d = w.Open();
    EXPECT_EQ(d.windowTitle(), "Programming -");
    EXPECT_EQ(d.Actions->count(), 7) << "Preset first: favorites are used";
    EXPECT_EQ(d.Actions->item(0)->text(), "Preset");

    w.Drop(d.Script, {true, script::akBeep}, 1);
    EXPECT_EQ(w.Lines(), "Beep 07:00 | Beep 07:01 | Volume 07:02");
    EXPECT_EQ(d.Script->currentRow(), 1);
    w.Drop(d.Script, {true, script::akBeep}, 2);
    EXPECT_EQ(w.ui.beeps, 1) << "no free minute: refused with a beep";
    EXPECT_EQ(d.Script->count(), 3);

    // Dragged back onto the palette, a line is deleted.
    w.Drop(d.Actions, {false, 1}, 0);
    EXPECT_EQ(w.Lines(), "Beep 07:00 | Volume 07:02");
    // Below the last line, a kind is appended; a line moved there follows.
    w.Drop(d.Script, {true, script::akJumpTo}, d.Script->count());
    w.Drop(d.Script, {true, script::akPreset}, d.Script->count());
    w.Drop(d.Script, {true, script::akMuteOn}, d.Script->count());
    w.Drop(d.Script, {true, script::akMuteOff}, d.Script->count());
    w.Drop(d.Script, {false, 0}, d.Script->count());
    d.Actions->setCurrentRow(6);
    d.btAdd->click();
    EXPECT_EQ(w.Lines(), "Volume 07:02 | Jump to 07:03 | Preset 07:04 | Mute on 07:05 | Mute off 07:06 | "
                         "Beep 07:07 | Off 07:08");

    // Each kind's panel, filled from its action.
    d.SelectLine(0);
    EXPECT_EQ(d.Panels->currentWidget(), d.VolumePanel);
    EXPECT_EQ(d.Volume->value(), 15);
    EXPECT_EQ(d.Perc->text(), "75%");
    EXPECT_EQ(d.Range->text(), "The range is from 00:00 to 07:02");
    tunevox::test::Screenshot(d, "script_editor_volume");
    d.SelectLine(1);
    EXPECT_EQ(d.Panels->currentWidget(), d.JumpPanel);
    EXPECT_TRUE(d.btFM->isChecked()) << "the card's band";
    tunevox::test::Screenshot(d, "script_editor_jump_to");
    d.SelectLine(2);
    EXPECT_EQ(d.Presets->currentText(), "03 - Radio One");
    tunevox::test::Screenshot(d, "script_editor_preset");
    d.SelectLine(5);
    EXPECT_EQ(d.Panels->currentWidget(), d.BeepPanel);
    EXPECT_EQ(d.Times->value(), 3);
    EXPECT_EQ(d.Frequency->value(), 880);
    tunevox::test::Screenshot(d, "script_editor_beep");
    d.SelectLine(6);
    EXPECT_FALSE(d.Panels->currentWidget()->isAncestorOf(d.Times));
    tunevox::test::Screenshot(d, "script_editor_off");
    tunevox::test::ExpectNothingClipped(d, "script editor");

    // The hour chosen limits the minutes to the action's range.
    d.SelectLine(0);
    d.TimeHH->setValue(7);
    EXPECT_EQ(d.TimeMM->maximum(), 2);
    d.TimeHH->setValue(6);
    EXPECT_EQ(d.TimeMM->maximum(), 59);
}

TEST(ScriptEditorWindow, AChangedScriptIsKeptUnlessTheUserAgreesToLoseIt) {
    WindowRig w("Beep.0700.3.880.200\r\nJump to.0710.101,900.FM.ST\r\n");
    tdProgr& d = w.Open();
    d.SelectLine(0);
    d.Times->setValue(5);
    d.btSave->click();
    EXPECT_EQ(static_cast<const script::zBeep&>(*d.Editor().Actions()[0]).count, 5);

    w.ui.boxAnswers = {tMsgResult::No};
    d.btCancel->click();
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].caption, "Exit without save");
    EXPECT_EQ(w.ui.boxes[0].text, "Script is changed!\nAre you sure ?");
    EXPECT_EQ(d.result(), 0);
    EXPECT_EQ(d.Script->count(), 2) << "No: the editor stays as it was";

    // The frequency test while the window is open, then Yes: the card is
    // back and the internal script untouched.
    d.SelectLine(1);
    d.Freq->setValue(98.7);
    d.btPrFreq->click();
    EXPECT_TRUE(d.btPrFreq->isChecked());
    EXPECT_EQ(d.Tuned->text(), "Tuned");
    EXPECT_NEAR(w.r.rig->EmulatedReceiver()->frequencyMHz, 98.7, 1e-6);
    w.ui.boxAnswers = {tMsgResult::Yes};
    d.btCancel->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_NEAR(w.r.rig->EmulatedReceiver()->frequencyMHz, 90.5, 1e-6);
    EXPECT_EQ(static_cast<const script::zBeep&>(*w.r.Set().Script().actions[0]).count, 3);
}

TEST(ScriptEditorWindow, FilesComeAndGoThroughTheFileMenuWithItsQuestions) {
    WindowRig w;
    tdProgr& d = w.Open();
    EXPECT_FALSE(d.btOk->isEnabled()) << "nothing to run";
    EXPECT_FALSE(d.iSave->isEnabled());

    const QString file = QString::fromStdString(w.r.dir.File("evening.tvs"));
    tunevox::test::WriteTextFile(file.toStdString(), ";Evening\r\nJump to.2100.88,100.FM.ST\r\nOff.2200\r\n");
    w.ui.fileAnswers = {file};
    d.iLoad->trigger();
    EXPECT_TRUE(w.ui.boxes.empty()) << "an empty script is not asked about";
    EXPECT_EQ(w.ui.fileSuffixes, QStringList{"tvs"});
    EXPECT_EQ(d.windowTitle(), "Script - (" + file + ")");
    EXPECT_EQ(d.Title->text(), "Evening");
    EXPECT_TRUE(d.btFM->isChecked());
    EXPECT_NEAR(d.Freq->value(), 88.1, 1e-9);

    // A corrupt file: asked first, then told; nothing changes.
    const QString bad = QString::fromStdString(w.r.dir.File("bad.tvs"));
    tunevox::test::WriteTextFile(bad.toStdString(), ";Bad\r\nOff.2400\r\n");
    w.ui.fileAnswers = {bad};
    d.btLoad->click();
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[1].text, "The script files is corrupt");
    EXPECT_EQ(d.Script->count(), 2);

    // Save writes the loaded file without asking; New asks and empties.
    d.Title->setText("Late");
    emit d.Title->textEdited("Late");
    d.btSaveFile->click();
    EXPECT_EQ(w.ui.fileSuffixes.size(), 2) << "no save dialog";
    script::tScript back;
    ASSERT_EQ(script::ReadScriptFile(file.toStdString(), back), script::srOk);
    EXPECT_EQ(back.title, "Late");
    w.ui.boxAnswers = {tMsgResult::Yes};
    d.iNew->trigger();
    EXPECT_EQ(w.ui.boxes.back().text, "This script will be erased.\nAre you sure ?");
    EXPECT_EQ(d.Script->count(), 0);
    EXPECT_FALSE(d.Common->isVisible());
    EXPECT_EQ(d.Title->text(), "Late") << "the title stays";
}

} // namespace
} // namespace tunevox::scripteditor
