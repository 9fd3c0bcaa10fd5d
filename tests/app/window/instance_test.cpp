// One program per user and set of files, and the command line.

#include "app/window/program.h"
#include "app/window/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
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

} // namespace
} // namespace tunevox::app::test
