// The window's start-up and shutdown: what it takes from the configuration
// file, how it sets the card up, what it writes back at exit.

#include "app/window/window_fixture.h"

#include "app/dialogs/exit_dialog.h"
#include "platform/profile.h"
#include "radio/radio_card.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace tunevox::app::test {
namespace {

using radio::bAM;
using radio::bFM;

std::unique_ptr<platform::TProfile> Parse(const std::string& text) {
    auto p = std::make_unique<platform::TProfile>();
    p->LoadText(text);
    return p;
}

TEST(MainStartup, RestoresTheConfiguredCardStationAndFavoritesAndWritesThemBack) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nShutDown=1\n"
                "[Audio]\nVolume=128\n"
                "[Frequency]\nFrequency=M 098.700\nTuneStep=4\n"
                "[Presets]\nCurrent=0\nList=3,10,\nStation03=M 098.700 Radio One\nStation10=M 101.900 Dance\n"
                "[Custom]\nKept=yes\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_EQ(r.Card().Model(), radio::mRadioTrack);
    EXPECT_TRUE(r.Card().Active());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    // The tuned station is favorite 3: the window shows it as current.
    EXPECT_EQ(r.Set().CurrentFavorite(), 3);
    EXPECT_EQ(w.StationText(), "Radio One");
    EXPECT_EQ(w.StationNumText(), "3");
    EXPECT_EQ(w.windowTitle(), "Tunevox - 98.7 MHz (Radio One)");
    EXPECT_EQ(w.ReadoutText(), " 98.700");
    EXPECT_EQ(w.StatusText(), "Stereo");
    EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.1);
    EXPECT_EQ(qobject_cast<QLabel*>(w.Control("Step"))->text(), "100");
    EXPECT_EQ(r.Card().Volume(), 128);
    EXPECT_EQ(qobject_cast<QSlider*>(w.Control("sVolume"))->toolTip(), "50%");
    EXPECT_EQ(w.PresetsHint(), "Internal");
    // Both favorites menus list 3 and 10.
    ASSERT_NE(w.Action("m03"), nullptr);
    ASSERT_NE(w.Action("f10"), nullptr);
    EXPECT_TRUE(w.Action("m03")->isChecked());
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn == false);

    w.Actions_TuneNext();
    w.close();
    const auto outp = Parse(r.ReadIni());
    const platform::TProfile& out = *outp;
    EXPECT_EQ(out.ReadString("Frequency", "Frequency", ""), "M 098.800");
    EXPECT_EQ(out.ReadInteger("Frequency", "TuneStep", 0), 4);
    EXPECT_EQ(out.ReadString("Presets", "List", ""), "3,10,");
    EXPECT_EQ(out.ReadString("Presets", "Station10", ""), "M 101.900 Dance");
    EXPECT_EQ(out.ReadInteger("Presets", "Current", -1), 0);
    EXPECT_EQ(out.ReadInteger("Audio", "Volume", -1), 128);
    EXPECT_EQ(out.ReadString("Custom", "Kept", ""), "yes");
    // ShutDown 1 leaves the radio playing.
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn);
}

TEST(MainStartup, ReadsStoredFrequenciesAndStepsAsTheyWereMeant) {
    {
        // No band letter: an FM frequency. A stored step too wide for the
        // card falls back to one card step.
        WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=98.7\nTuneStep=50\n");
        ASSERT_TRUE(r.Start());
        EXPECT_EQ(r.Card().Band(), bFM);
        EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
        EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.025);
        auto* step = qobject_cast<QSlider*>(r.W().Control("sStep"));
        EXPECT_EQ(step->minimum(), 1);
        EXPECT_EQ(step->maximum(), 40);
        // The step grows to the slider's end and no further.
        for (int i = 0; i < 45; ++i) r.W().Actions_StepDec();
        EXPECT_EQ(qobject_cast<QLabel*>(r.W().Control("Step"))->text(), "1000");
        EXPECT_FALSE(r.W().Action("tsmActions_StepDec")->isEnabled());
        r.W().Actions_StepInc();
        EXPECT_EQ(qobject_cast<QLabel*>(r.W().Control("Step"))->text(), "975");
    }
    {
        // A file written where the decimal separator is "," reads back the
        // same station, and AM restores on a model that has AM.
        WindowRig r("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=K 000,999\n");
        ASSERT_TRUE(r.Start());
        EXPECT_EQ(r.Card().Band(), bAM);
        EXPECT_DOUBLE_EQ(r.Card().Frequency(), 0.999);
        EXPECT_EQ(r.W().ReadoutText(), "   999");
        EXPECT_EQ(r.W().windowTitle(), "Tunevox - 999 kHz");
    }
    {
        // The Zoltrix card has no AM: with no current favorite nothing is tuned.
        WindowRig r("[Configuration]\nHardware=7\nPort=1\n[Frequency]\nFrequency=K 000.999\n");
        ASSERT_TRUE(r.Start());
        EXPECT_EQ(r.Card().Band(), bFM);
        EXPECT_FALSE(r.W().Control("btAM")->isEnabled());
    }
}

TEST(MainStartup, FirstRunAndReconfigurationGoThroughTheSettingsHook) {
    {
        // A serial model without a port gets its default port proposed.
        WindowRig r("[Configuration]\nHardware=5\nPort=0\n");
        r.Build();
        int proposedPort = -1;
        r.W().RunSetupDialog = [&](radioset::tConfiguration& c) {
            proposedPort = c.Port;
            return true;
        };
        ASSERT_TRUE(r.Start());
        EXPECT_EQ(proposedPort, 2);
        EXPECT_EQ(r.Card().Model(), radio::mRadionMaru);
    }
    {
        // "\configure" on the command line asks again although a card is
        // set; Cancel ends the program and writes nothing.
        WindowRig r("[Configuration]\nHardware=1\nPort=1\n");
        r.Build(true);
        bool asked = false;
        r.W().RunSetupDialog = [&](radioset::tConfiguration&) {
            asked = true;
            return false;
        };
        const std::string before = r.ReadIni();
        EXPECT_FALSE(r.Start());
        EXPECT_TRUE(asked);
        r.W().close();
        EXPECT_EQ(r.ReadIni(), before);
    }
}

TEST(MainShutdown, ExitQuestionFollowsTheModelAndNotExitKeepsRunning) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nShutDown=2\nHideMainForm=0\n");
    ASSERT_TRUE(r.Start());
    bool yesEnabled = false;
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        yesEnabled = dynamic_cast<tdExit&>(d).btYes->isEnabled();
        return int(tdExit::NotExit);
    });
    r.W().File_Exit();
    EXPECT_TRUE(yesEnabled);
    EXPECT_TRUE(r.ReadIni().find("[WinPos]") == std::string::npos) << "nothing saved on Not exit";
    EXPECT_FALSE(r.Set().ModalOpen());

    r.ui.dialogAnswers.push_back([](QDialog&) { return int(tdExit::No); });
    r.W().File_Exit();
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn) << "No mutes the card";
    EXPECT_FALSE(r.Card().Active());
    EXPECT_NE(r.ReadIni().find("[WinPos]"), std::string::npos);

    // A serial radio always mutes on exit: "&Yes" is not offered.
    WindowRig s("[Configuration]\nHardware=3\nPort=2\nShutDown=2\n");
    ASSERT_TRUE(s.Start());
    s.ui.dialogAnswers.push_back([&](QDialog& d) {
        yesEnabled = dynamic_cast<tdExit&>(d).btYes->isEnabled();
        return int(tdExit::NotExit);
    });
    s.W().File_Exit();
    EXPECT_FALSE(yesEnabled);
}

TEST(MainShutdown, AFailedSaveTellsTheUserAndLeavesTheOldFileWhole) {
    const std::string ini = "[Configuration]\nHardware=1\nPort=1\nShutDown=1\n[Audio]\nVolume=10\n";
    WindowRig r(ini);
    ASSERT_TRUE(r.Start());
    // The temporary file cannot be created beside the configuration.
    QFile::setPermissions(r.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFile(r.dir.path() + "/probe").open(QIODevice::WriteOnly);
    if (canStillWrite) {
        // Running as root: make the target a folder instead, which no
        // rename can replace.
        QFile::setPermissions(r.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(r.dir.path() + "/probe");
        QFile::rename(QString::fromStdString(r.IniPath()), r.dir.path() + "/saved.ini");
        QDir().mkdir(QString::fromStdString(r.IniPath()));
    }
    EXPECT_FALSE(r.W().SaveConfiguration());
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].caption, "Warning");
    EXPECT_TRUE(r.ui.boxes[0].text.contains(QString::fromStdString(r.IniPath())));
    EXPECT_EQ(r.W().ExitCode(), 0);

    // At a session end (a logout, SIGTERM) nobody is there to answer a box:
    // the failure goes to standard error and the exit code.
    testing::internal::CaptureStderr();
    r.W().EndSession();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.ui.boxes.size(), 1u) << "no box holds the session up";
    EXPECT_NE(said.find("tunevox: the configuration could not be saved to " + r.IniPath()), std::string::npos)
        << said;
    EXPECT_EQ(r.W().ExitCode(), 1);
    QFile::setPermissions(r.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!canStillWrite) EXPECT_EQ(r.ReadIni(), ini);
    else {
        QFile saved(r.dir.path() + "/saved.ini");
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll().toStdString(), ini);
    }
}

TEST(MainStartup, TheWindowComesBackWhereItWasAndNeverOffTheScreen) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nShutDown=1\n[WinPos]\nX=120\nY=90\n");
    ASSERT_TRUE(r.Start());
    r.W().show();
    EXPECT_EQ(r.W().geometry().topLeft(), QPoint(120, 90));
    r.W().close();
    EXPECT_NE(r.ReadIni().find("X=120\nY=90\n"), std::string::npos) << "the same place, not the frame's corner";

    WindowRig lost("[Configuration]\nHardware=1\nPort=1\n[WinPos]\nX=-4000\nY=-20\n");
    ASSERT_TRUE(lost.Start());
    lost.W().show();
    bool onScreen = false;
    for (const QScreen* s : QGuiApplication::screens())
        onScreen = onScreen || s->availableGeometry().contains(lost.W().geometry().topLeft());
    EXPECT_TRUE(onScreen);
}

TEST(MainStartup, ASerialRadioThatCannotOpenStillBringsTheWindowUpWithAWarning) {
    rig::tRigOptions real;
    real.emulated = false;
    real.withSound = false;
    WindowRig r("[Configuration]\nHardware=3\nPort=2\n[ComPorts]\nCom2=/nonexistent/ttyUSB7\n", real);
    ASSERT_TRUE(r.Start());
    ASSERT_FALSE(r.ui.boxes.empty());
    EXPECT_EQ(r.ui.boxes[0].caption, "Warning");
    EXPECT_TRUE(r.ui.boxes[0].text.contains("/nonexistent/ttyUSB7")) << r.ui.boxes[0].text.toStdString();
    EXPECT_TRUE(r.W().isEnabled());
}

} // namespace
} // namespace tunevox::app::test
