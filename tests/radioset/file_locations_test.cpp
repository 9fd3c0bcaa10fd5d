// Where the program finds and keeps its files, and that a save never
// leaves a half-written file behind.

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "radioset/file_locations.h"

#include "platform/text_lines.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tunevox::radioset {
namespace {

namespace fs = std::filesystem;
using platform::ReadWholeFile;
using test::TempDir;

void Touch(const std::string& path) { test::WriteTextFile(path, ""); }

TEST(FileLocations, PortableDirOverrideXdgAndHome) {
    TempDir top;
    ASSERT_TRUE(top.Valid());
    for (const char* folder : {"prefix/bin", "build", "portable", "mine"}) fs::create_directories(top.File(folder));
    const std::string prefixBin = top.File("prefix/bin");
    const std::string build = top.File("build");
    const std::string portable = top.File("portable");
    Touch(top.File("build/Tunevox.txt"));
    Touch(top.File("portable/Tunevox.ini"));

    tFileLocations w = ResolveFileLocations({prefixBin, "", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, "/xdg/conf/tunevox");
    EXPECT_EQ(w.IniPath(), "/xdg/conf/tunevox/Tunevox.ini");
    EXPECT_EQ(w.ArchivePath(), "/xdg/conf/tunevox/Tunevox.db");
    EXPECT_EQ(w.dataDir, top.File("prefix/share/tunevox")) << "installed";

    w = ResolveFileLocations({build, "", "", "/home/u/"});
    EXPECT_EQ(w.configDir, "/home/u/.config/tunevox");
    EXPECT_EQ(w.TipsPath(), build + "/Tunevox.txt") << "a build tree holds its data";
    EXPECT_EQ(ResolveFileLocations({build, "", "relative/conf", "/home/u"}).configDir,
              "/home/u/.config/tunevox")
        << "a relative XDG_CONFIG_HOME is ignored";

    w = ResolveFileLocations({portable, "", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, portable);
    EXPECT_EQ(w.IniPath(), portable + "/Tunevox.ini");

    const std::string mine = top.File("mine");
    w = ResolveFileLocations({portable, mine + "/", "/xdg/conf", "/home/u"});
    EXPECT_EQ(w.configDir, mine) << "--dir wins over a portable copy";
    EXPECT_EQ(w.dataDir, top.File("share/tunevox")) << "no data in either folder";
    Touch(top.File("mine/Tunevox.html"));
    EXPECT_EQ(ResolveFileLocations({portable, mine, "", "/home/u"}).HelpPath(), mine + "/Tunevox.html");

    std::string error;
    const tFileLocations fresh{top.File("new/deep/tunevox"), ""};
    ASSERT_TRUE(EnsureConfigDir(fresh, &error)) << error;
    EXPECT_TRUE(fs::is_directory(fresh.configDir));
    Touch(top.File("plainfile"));
    const tFileLocations blocked{top.File("plainfile/tunevox"), ""};
    EXPECT_FALSE(EnsureConfigDir(blocked, &error));
    EXPECT_FALSE(error.empty());
}

TEST(AtomicFile, AFailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    TempDir root;
    ASSERT_TRUE(root.Valid());
    const std::string path = root.File("Tunevox.ini");
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Audio]\nVolume=10\n", &error)) << error;
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Audio]\nVolume=20\n", &error)) << error;
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "[Audio]\nVolume=20\n");
    ASSERT_TRUE(platform::WriteFileAtomically(path, "", &error)) << error;
    EXPECT_EQ(ReadWholeFile(path).value_or("?"), "");
    ASSERT_TRUE(platform::WriteFileAtomically(path, "[Audio]\nVolume=30\n", &error));

    // The target's folder is missing; the target is a folder.
    ASSERT_TRUE(fs::create_directory(root.File("Tunevox.db")));
    for (const std::string& bad : {root.File("gone/Tunevox.ini"), root.File("Tunevox.db")}) {
        std::string why;
        EXPECT_FALSE(platform::WriteFileAtomically(bad, "new", &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
    }
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "[Audio]\nVolume=30\n");
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(root.Path()))
        if (entry.is_regular_file()) files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"Tunevox.ini"}) << "no temporary file is left behind";
}

TEST(AtomicFile, ASaveCutShortByTheFileSizeLimitKeepsTheOldFileAndSaysWhy) {
    // A full disk without a disk to fill: a child process whose files may
    // not grow beyond 1 KiB, the signal that would kill it ignored, as a
    // full file system answers a write with an error and no signal.
    TempDir root;
    ASSERT_TRUE(root.Valid());
    const std::string path = root.File("Tunevox.ini");
    const std::string old = "[Audio]\nVolume=10\n";
    test::WriteTextFile(path, old);
    int reason[2];
    ASSERT_EQ(pipe(reason), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit small{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_IGN);
        std::string error;
        const bool saved = platform::WriteFileAtomically(path, std::string(64 * 1024, 'x'), &error);
        (void)!write(reason[1], error.data(), error.size());
        _exit(saved ? 0 : 1);
    }
    close(reason[1]);
    char text[256] = {};
    (void)!read(reason[0], text, sizeof text - 1);
    close(reason[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "the save reports its failure";
    EXPECT_EQ(std::string(text), std::strerror(EFBIG));
    EXPECT_EQ(test::ReadTextFile(path), old) << "the old file is whole";
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(root.Path())) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";
}

} // namespace
} // namespace tunevox::radioset
