// Where the program finds and keeps its files, and that a save never
// leaves a half-written file behind.

#include <gtest/gtest.h>

#include "app/core/atomic_file.h"
#include "app/core/file_locations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tunevox::app {
namespace {

void Touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(FileLocations, PortableDirOverrideXdgAndHome) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QDir top(root.path());
    ASSERT_TRUE(top.mkpath("prefix/bin") && top.mkpath("build") && top.mkpath("portable") && top.mkpath("mine"));
    const std::string prefixBin = top.filePath("prefix/bin").toStdString();
    const std::string build = top.filePath("build").toStdString();
    const std::string portable = top.filePath("portable").toStdString();
    Touch(top.filePath("build/Tunevox.txt"));
    Touch(top.filePath("portable/Tunevox.ini"));

    tFileLocations w = ResolveFileLocations({prefixBin, "", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, "/xdg/conf/tunevox");
    EXPECT_EQ(w.IniPath(), "/xdg/conf/tunevox/Tunevox.ini");
    EXPECT_EQ(w.ArchivePath(), "/xdg/conf/tunevox/Tunevox.db");
    EXPECT_EQ(w.dataDir, top.filePath("prefix/share/tunevox").toStdString()) << "installed";

    w = ResolveFileLocations({build, "", "", "/home/u/"});
    EXPECT_EQ(w.configDir, "/home/u/.config/tunevox");
    EXPECT_EQ(w.TipsPath(), build + "/Tunevox.txt") << "a build tree holds its data";
    EXPECT_EQ(ResolveFileLocations({build, "", "relative/conf", "/home/u"}).configDir,
              "/home/u/.config/tunevox")
        << "a relative XDG_CONFIG_HOME is ignored";

    w = ResolveFileLocations({portable, "", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, portable);
    EXPECT_EQ(w.IniPath(), portable + "/Tunevox.ini");

    const std::string mine = top.filePath("mine").toStdString();
    w = ResolveFileLocations({portable, mine + "/", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, mine) << "--dir wins over a portable copy";
    EXPECT_EQ(w.dataDir, top.filePath("share/tunevox").toStdString()) << "no data in either folder";
    Touch(top.filePath("mine/Tunevox.html"));
    EXPECT_EQ(ResolveFileLocations({portable, mine, "", "/home/u"}).HelpPath(), mine + "/Tunevox.html");

    std::string error;
    const tFileLocations fresh{top.filePath("new/deep/tunevox").toStdString(), ""};
    ASSERT_TRUE(EnsureConfigDir(fresh, &error)) << error;
    EXPECT_TRUE(QDir(QString::fromStdString(fresh.configDir)).exists());
    Touch(top.filePath("plainfile"));
    const tFileLocations blocked{top.filePath("plainfile/tunevox").toStdString(), ""};
    EXPECT_FALSE(EnsureConfigDir(blocked, &error));
    EXPECT_FALSE(error.empty());
}

TEST(AtomicFile, AFailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const std::string path = QDir(root.path()).filePath("Tunevox.ini").toStdString();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "[Audio]\nVolume=10\n", &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(path, "[Audio]\nVolume=20\n", &error)) << error;
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "[Audio]\nVolume=20\n");
    ASSERT_TRUE(WriteFileAtomically(path, "", &error)) << error;
    EXPECT_EQ(ReadWholeFile(path).value_or("?"), "");
    ASSERT_TRUE(WriteFileAtomically(path, "[Audio]\nVolume=30\n", &error));

    // The target's folder is missing; the target is a folder.
    ASSERT_TRUE(QDir(root.path()).mkdir("Tunevox.db"));
    for (const std::string& bad : {QDir(root.path()).filePath("gone/Tunevox.ini").toStdString(),
                                   QDir(root.path()).filePath("Tunevox.db").toStdString()}) {
        std::string why;
        EXPECT_FALSE(WriteFileAtomically(bad, "new", &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "[Audio]\nVolume=30\n");
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files), QStringList{"Tunevox.ini"})
        << "no temporary file is left behind";
    EXPECT_FALSE(ReadWholeFile(QDir(root.path()).filePath("none").toStdString()).has_value());
    EXPECT_FALSE(ReadWholeFile(root.path().toStdString()).has_value()) << "a folder";
}

} // namespace
} // namespace tunevox::app
