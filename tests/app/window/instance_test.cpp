// One program per user and set of files, and the command line.

#include "app/window/program.h"
#include "app/window/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

namespace tunevox::app::test {
namespace {

TEST(SingleInstance, ASecondStartAsksTheFirstToShowAndAStaleSocketDoesNotBlock) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QTemporaryDir files;
    {
        TSingleInstance first(files.path());
        ASSERT_TRUE(first.Claim());
        int shown = 0;
        QObject::connect(&first, &TSingleInstance::showRequested, [&] { ++shown; });
        TSingleInstance second(files.path());
        EXPECT_FALSE(second.Claim());
        QElapsedTimer t;
        t.start();
        while (shown == 0 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(shown, 1);
        // A command is handed over as its line.
        QStringList commands;
        QObject::connect(&first, &TSingleInstance::commandReceived, [&](const QString& l) { commands << l; });
        TSingleInstance fourth(files.path());
        EXPECT_FALSE(fourth.Claim("preset 3\n"));
        t.restart();
        while (commands.isEmpty() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(commands, QStringList{"preset 3"});
        EXPECT_EQ(shown, 1);
        // Other files, another program.
        QTemporaryDir other;
        TSingleInstance third(other.path());
        EXPECT_TRUE(third.Claim());
    }
    // A crash leaves the socket file behind: nobody listens, the next start runs.
    TSingleInstance probe(files.path());
    QFile stale(probe.SocketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_TRUE(probe.Claim());
}

TEST(CommandLine, KnowsItsOptionsAndTheOldConfigureSwitchInAnyCase) {
    int code = -1;
    auto line = ParseCommandLine({"tunevox", "--virtual", "--dir", "/tmp/x", "\\cOnFiGuRe"}, &code);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->virtualHardware);
    EXPECT_TRUE(line->configure);
    EXPECT_EQ(line->dir, "/tmp/x");
    line = ParseCommandLine({"tunevox", "--configure"}, &code);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->configure);
    EXPECT_FALSE(ParseCommandLine({"tunevox", "--stations", "s.txt"}, &code));
    EXPECT_EQ(code, 2) << "stations without --virtual is a usage error";
    EXPECT_FALSE(ParseCommandLine({"tunevox", "--bogus"}, &code));
    EXPECT_EQ(code, 2);
    EXPECT_FALSE(ParseCommandLine({"tunevox", "extra"}, &code));
    EXPECT_EQ(code, 2);

    // Commands for the running radio: MHz on FM, kHz on AM, one at a time.
    line = ParseCommandLine({"tunevox", "--tune", "98,7"}, &code);
    ASSERT_TRUE(line && line->command);
    EXPECT_EQ(FormatRemoteCommand(*line->command), "tune 098.700");
    line = ParseCommandLine({"tunevox", "--tune", "1215"}, &code);
    ASSERT_TRUE(line && line->command);
    EXPECT_EQ(line->command->band, radio::bAM);
    EXPECT_EQ(ParseRemoteCommand(FormatRemoteCommand(*line->command)), line->command) << "the line reads back";
    line = ParseCommandLine({"tunevox", "--next"}, &code);
    ASSERT_TRUE(line && line->command);
    EXPECT_EQ(line->command->kind, tRemoteCommand::Next);
    for (const QStringList& bad : {QStringList{"tunevox", "--tune", "150"}, QStringList{"tunevox", "--tune", "x"},
                                   QStringList{"tunevox", "--preset", "101"}, QStringList{"tunevox", "--preset", "2.5"},
                                   QStringList{"tunevox", "--mute", "--next"}}) {
        code = -1;
        EXPECT_FALSE(ParseCommandLine(bad, &code)) << bad.join(' ').toStdString();
        EXPECT_EQ(code, 2) << bad.join(' ').toStdString();
    }
    EXPECT_FALSE(ParseRemoteCommand("rm -rf /"));
    EXPECT_FALSE(ParseRemoteCommand("mute now"));
}

struct tRun {
    QProcess::ExitStatus status;
    int code;
    QString out, err;
};

// The program's environment, with `display` for its display variables
// (empty: none at all; "offscreen": Qt's platform without a screen).
QProcessEnvironment ProgramEnvironment(const QString& display, const QString& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (display == "offscreen") env.insert("QT_QPA_PLATFORM", display);
    else if (!display.isEmpty()) env.insert("DISPLAY", display);
    env.insert("XDG_RUNTIME_DIR", runtime);
    return env;
}

// The program as a user starts it.
tRun RunProgram(const QStringList& args, const QString& display) {
    QTemporaryDir runtime;
    const QProcessEnvironment env = ProgramEnvironment(display, runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(TUNEVOX_PROGRAM, args);
    EXPECT_TRUE(p.waitForFinished(30000)) << args.join(' ').toStdString();
    return {p.exitStatus(), p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(CommandLine, HelpAndVersionAnswerWithoutADisplayAndNoDisplayIsOneLine) {
    tRun help = RunProgram({"--help"}, {});
    EXPECT_EQ(help.status, QProcess::NormalExit);
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: tunevox")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--virtual"));
    tRun version = RunProgram({"--version"}, {});
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(version.out.startsWith("tunevox ")) << version.out.toStdString();

    QTemporaryDir files;
    for (const QString& display : {QString(), QString(":97")}) {
        tRun run = RunProgram({"--virtual", "--dir", files.path()}, display);
        EXPECT_EQ(run.status, QProcess::NormalExit) << "no abort, no core dump";
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("tunevox: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("display")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(files.path() + "/Tunevox.ini")) << "nothing written";
    }
}

TEST(CommandLine, ACommandGivenToALaterStartReachesTheRunningRadio) {
    QTemporaryDir runtime, files;
    QFile ini(files.path() + "/Tunevox.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Configuration]\nHardware=1\nPort=1\nShutDown=1\nTipOfTheDay=0\n"
              "[Presets]\nList=3,5,\nStation03=M 098.700 One\nStation05=M 101.900 Dance\n");
    ini.close();
    const QProcessEnvironment env = ProgramEnvironment("offscreen", runtime.path());
    QProcess radio;
    radio.setProcessEnvironment(env);
    radio.start(TUNEVOX_PROGRAM, {"--virtual", "--dir", files.path()});
    ASSERT_TRUE(radio.waitForStarted(10000));

    // Once the running copy listens, later starts hand it their commands.
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString socket = TSingleInstance(files.path()).SocketPath();
    QElapsedTimer t;
    t.start();
    bool listening = false;
    while (!listening && t.elapsed() < 20000 && radio.state() == QProcess::Running) {
        QLocalSocket probe;
        probe.connectToServer(socket);
        listening = probe.waitForConnected(100);
        if (!listening) QThread::msleep(100);
    }
    ASSERT_TRUE(listening) << QString::fromLocal8Bit(radio.readAllStandardError()).toStdString();
    int code = 0;
    for (const QStringList& command : {QStringList{"--preset", "5"}, QStringList{"--next"}}) {
        QProcess later;
        later.setProcessEnvironment(env);
        later.start(TUNEVOX_PROGRAM, QStringList{"--dir", files.path()} + command);
        ASSERT_TRUE(later.waitForFinished(30000));
        code |= later.exitCode();
    }
    EXPECT_EQ(code, 0);
    ASSERT_EQ(radio.state(), QProcess::Running);
    radio.terminate(); // a session's end: the configuration is saved
    ASSERT_TRUE(radio.waitForFinished(30000));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(saved.contains("Current=3")) << "preset 5, then the next used one wraps to 3:\n"
                                             << saved.toStdString();
}

} // namespace
} // namespace tunevox::app::test
