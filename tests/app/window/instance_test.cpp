// One program per user and set of files, and the command line.

#include "app/window/program.h"
#include "app/window/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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
}

struct tRun {
    QProcess::ExitStatus status;
    int code;
    QString out, err;
};

// The program as a user starts it, with `display` for its environment's
// display variables (empty: none at all).
tRun RunProgram(const QStringList& args, const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    QTemporaryDir runtime;
    env.insert("XDG_RUNTIME_DIR", runtime.path());
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

} // namespace
} // namespace tunevox::app::test
