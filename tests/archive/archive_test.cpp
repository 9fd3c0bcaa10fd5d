// The station archive: its file as the organizer writes it and as people
// edit it by hand, the order it is shown in, and the rules of renaming,
// dropping, moving and deleting.

#include <gtest/gtest.h>

#include "archive/archive.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tunevox::archive {
namespace {

using Strings = std::vector<std::string>;

int LoadText(TArchive& archive, std::string_view text) {
    platform::TProfile profile;
    profile.LoadText(text);
    return archive.LoadFrom(profile);
}

// Every node below the root as its row, in tree order, each record's
// parent id checked against the node it hangs under on the way.
Strings Rows(const TArchive& archive) {
    Strings rows;
    archive.ForEach([&](const tArchiveNode& node) {
        if (node.IsRoot()) return;
        EXPECT_EQ(node.Record().parentId, node.Parent()->Record().id) << node.Name();
        rows.push_back(TArchive::RowText(node));
    });
    return rows;
}

tArchiveNode* Named(TArchive& archive, tArchiveNode* node, std::string name) {
    archive.SetName(*node, std::move(name));
    return node;
}

TEST(ArchiveFile, SavedNodesLoadBackWhateverTheirNamesAndBands) {
    test::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    const std::string path = dir.File("Tunevox.db");
    test::WriteTextFile(path, "[Window]\nLeft=10\n[Archive]\nRows=1\nRow1=1 99 0 X 000.000 Old\n");

    TArchive archive;
    tArchiveNode* jazz = Named(archive, archive.NewFolder(archive.Root()), "Jazz"); // id 1
    Named(archive, archive.NewStation(*jazz, 0.531, radio::bAM), "Talk");
    Named(archive, archive.NewStation(*jazz, 98.7, radio::bFM), "  two  blanks");
    Named(archive, archive.NewFolder(archive.Root()), "");
    const tArchiveNode* broken = Named(archive, archive.NewStation(archive.Root(), 107.95, radio::bFM), "line\nbreak");
    Named(archive, archive.NewFolder(*jazz), "Радио Österreich"); // id 6
    EXPECT_EQ(TArchive::RowText(*broken), "2 5 0 M 107.950 line break");
    std::string error;
    ASSERT_TRUE(archive.Save(path, &error)) << error;

    const std::string text = test::ReadTextFile(path);
    EXPECT_EQ(text.find("Old"), std::string::npos) << "the archive is written anew";
    for (const char* row : {"Left=10\n", "Rows=6\n", "Row1=1 1 0 X 000.000 Jazz\n", "Row2=2 2 1 K 000.531 Talk\n",
                            "Row3=2 3 1 M 098.700   two  blanks\n", "Row4=1 6 1 X 000.000 Радио Österreich\n",
                            "Row5=1 4 0 X 000.000", "Row6=2 5 0 M 107.950 line break\n"})
        EXPECT_NE(text.find(row), std::string::npos) << row;

    TArchive loaded;
    const auto result = loaded.Load(path);
    EXPECT_EQ(result.status, TArchive::eLoad::Loaded);
    EXPECT_EQ(result.skippedRows, 0);
    EXPECT_EQ(loaded.NodeCount(), 7u);
    EXPECT_EQ(Rows(loaded), (Strings{"2 5 0 M 107.950 line break", "1 4 0 X 000.000 ", "1 1 0 X 000.000 Jazz",
                                     "2 3 1 M 098.700   two  blanks", "2 2 1 K 000.531 Talk",
                                     "1 6 1 X 000.000 Радио Österreich"}));
    const tStation* talk = loaded.Root().Child(2)->Child(1)->Station();
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->band, radio::bAM);
    EXPECT_DOUBLE_EQ(talk->frequency, 0.531);

    // By hand, on a desktop with the decimal comma, in the Windows code page.
    EXPECT_EQ(LoadText(loaded, "[ARCHIVE]\r\nrows=3\r\nRow1=1 7 0 X 000,000 \xD6sterreich\r\n"
                               "row2=2 8 7 k 0,603 Wien\r\nROW3=2 9 7 FM 88,6\r\n"),
              0);
    EXPECT_EQ(Rows(loaded), (Strings{"1 7 0 X 000.000 Österreich", "2 9 7 M 088.600 ", "2 8 7 K 000.603 Wien"}));
}

TEST(ArchiveFile, LoadingSortsStationsBeforeFoldersByNameAndCountsOnFromTheHighestId) {
    TArchive archive;
    EXPECT_EQ(LoadText(archive, "[Archive]\nRows=8\nRow1=1 3 0 X 000.000 Music\nRow2=2 9 3 M 090.000 b radio\n"
                                "Row3=1 17 3 X 000.000 Classic\nRow4=2 5 3 M 091.000 A Radio\n"
                                "Row5=2 6 3 M 092.000 same\nRow6=2 7 3 M 093.000 SAME\n"
                                "Row7=1 2 0 X 000.000 jazz\nRow8=2 4 0 M 094.000 Zebra\n"),
              0);
    Strings names;
    archive.ForEach([&](const tArchiveNode& node) { names.push_back(node.Name()); });
    EXPECT_EQ(names, (Strings{"Root", "Zebra", "jazz", "Music", "A Radio", "b radio", "same", "SAME", "Classic"}));

    EXPECT_EQ(archive.IdCounter(), 17);
    tArchiveNode& music = *archive.Root().Child(2);
    const tArchiveNode* folder = archive.NewFolder(archive.Root());
    const tArchiveNode* station = archive.NewStation(music, 101.1, radio::bFM);
    EXPECT_EQ(TArchive::RowText(*folder), "1 18 0 X 000.000 Folder Name");
    EXPECT_EQ(TArchive::RowText(*station), "2 19 3 M 101.100 Station Name");
    EXPECT_EQ(folder->Row(), 3u) << "new nodes come last";
    EXPECT_EQ(station->Row(), 5u);
    EXPECT_EQ(archive.NewFolder(*music.Child(0)), nullptr) << "a station holds nothing";
    EXPECT_EQ(archive.NodeCount(), 11u);
    ASSERT_EQ(LoadText(archive, "[Archive]\nRows=2\nRow1=1 2147483647 0 X 000.000 L\nRow2=1 1 0 X 000.000 O\n"), 0);
    EXPECT_EQ(archive.NewFolder(archive.Root())->Record().id, 2) << "the last id does not wrap around";

    // Names alike but for case keep the order they came in, in a group
    // large enough for an unstable sort to show.
    std::string alike = "[Archive]\nRows=60\n";
    for (int n = 1; n <= 60; ++n)
        alike += "Row" + std::to_string(n) + "=2 " + std::to_string(n) + " 0 M 090.000 " + (n % 2 ? "same\n" : "SAME\n");
    ASSERT_EQ(LoadText(archive, alike), 0);
    for (size_t i = 0; i < 60; ++i) EXPECT_EQ(archive.Root().Child(i)->Record().id, int32_t(i + 1));
}

TEST(ArchiveFile, RowsThatCannotBePlacedOrReadAreSkippedAndTheRestLoads) {
    // "Rows" far beyond the rows there are costs nothing: only keys present
    // are read. Row2 and Row14 carry nothing and are no fault of the file.
    TArchive archive;
    EXPECT_EQ(LoadText(archive, "[Archive]\nRows=2000000000\nRow1=1 1 0 X 000.000 Keep A\n"
                                "Row3=2 2 1 M 099.000 Keep B\nRow4=2 3 42 M 099.100 unknown parent\n"
                                "Row5=2 x 1 M 099.200 id not a number\nRow6=2 4 1 M abc not a frequency\n"
                                "Row7=3 5 1 M 099.300 unknown kind\nRow8=1 1 0 X 000.000 id in use\n"
                                "Row9=2 0 0 M 099.400 the root's id\nRow10=1 6 2 X 000.000 under a station\n"
                                "Row11=2 7 1 M 1e3 exponent\nRow12=1 8 0 X 000.000\n"
                                "Row13=2 14 15 M 099.500 parent comes later\nRow14=\n"
                                "Row15=1 15 0 X 000.000 Later\nRow16=2 10 8 K 000,999 Keep D\n"
                                "Row016=2 11 1 M 099.600 no row of any number\nRow20=2 12 0 M 099.700 Keep E\n"
                                "Row3000000000=2 13 0 M 100.000 beyond Rows\n"
                                "Row21=1 16 0 X ??? a folder's frequency is nothing\n"),
              9);
    EXPECT_EQ(Rows(archive), (Strings{"2 12 0 M 099.700 Keep E", "1 8 0 X 000.000 ", "2 10 8 K 000.999 Keep D",
                                      "1 16 0 X 000.000 a folder's frequency is nothing", "1 1 0 X 000.000 Keep A",
                                      "2 2 1 M 099.000 Keep B", "1 15 0 X 000.000 Later"}));
    EXPECT_EQ(archive.IdCounter(), 16);

    // Folders nested as deep as the rows go load, sort, save and go away
    // without a stack frame per level: on a stack of 128 KiB, 20,000 levels
    // leave less than 7 bytes a level, whatever the build.
    std::string deep = "[Archive]\nRows=20000\n";
    for (int n = 1; n <= 20000; ++n)
        deep += "Row" + std::to_string(n) + "=1 " + std::to_string(n) + " " + std::to_string(n - 1) + " X 000.000 F\n";
    auto work = [&] {
        TArchive nested;
        ASSERT_EQ(LoadText(nested, deep), 0);
        platform::TProfile written;
        nested.WriteTo(written);
        EXPECT_EQ(written.ReadString("Archive", "Row20000", ""), "1 20000 19999 X 000.000 F");
        nested.Delete(*nested.Root().Child(0)->Child(0));
        EXPECT_EQ(nested.NodeCount(), 2u);
        ASSERT_EQ(LoadText(nested, deep), 0);
    };
    pthread_attr_t small;
    pthread_attr_init(&small);
    pthread_attr_setstacksize(&small, 128 * 1024);
    pthread_t thread;
    const auto run = [](void* w) -> void* { (*static_cast<decltype(work)*>(w))(); return nullptr; };
    ASSERT_EQ(pthread_create(&thread, &small, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&small);
}

TEST(ArchiveNames, CaseIsIgnoredInLatinGreekAndCyrillicOnly) {
    for (auto [a, b] : {std::pair{"Jazz", "JAZZ"}, {"Österreich", "ÖSTERREICH"}, {"ÿ", "Ÿ"}, {"Łódź", "ŁÓDŹ"},
                        {"Ĳssel Ĺ", "ĳssel ĺ"}, {"Ελλάδα", "ΕΛΛΆΔΑ"}, {"ΟΔΟΣ", "οδος"}, {"Москва Ёж", "МОСКВА ёж"},
                        {"Ї", "ї"}, {"µ", "Μ"}})
        EXPECT_TRUE(SameName(a, b)) << a << " " << b;
    for (auto [a, b] : {std::pair{"a", "b"}, {"Jazz", "Jazz "}, {"ß", "ss"}, {"×", "÷"}, {"İ", "i"},
                        {"\xC4", "Ä"}, {"\xC4", "\xE4"}, {"\xC3", "\xC3\x84"}}) {
        EXPECT_FALSE(SameName(a, b)) << a << " " << b;
        EXPECT_EQ(CompareNames(a, b), -CompareNames(b, a)) << a << " " << b;
    }
    EXPECT_LT(CompareNames("apple", "BANANA"), 0);
    EXPECT_LT(CompareNames("Zebra", "Äpfel"), 0);
}

struct Tree {
    TArchive archive;
    tArchiveNode* root = &archive.Root();
    tArchiveNode* jazz = Named(archive, archive.NewFolder(*root), "Jazz");
    tArchiveNode* blue = Named(archive, archive.NewStation(*jazz, 99.1, radio::bFM), "Blue Note");
    tArchiveNode* inner = Named(archive, archive.NewFolder(*jazz), "Inner");
    tArchiveNode* deep = Named(archive, archive.NewStation(*inner, 0.6, radio::bAM), "Deep");
    tArchiveNode* pop = Named(archive, archive.NewFolder(*root), "Pop");
    tArchiveNode* other = Named(archive, archive.NewStation(*pop, 88.0, radio::bFM), "BLUE NOTE");
    tArchiveNode* talk = Named(archive, archive.NewStation(*root, 0.9, radio::bAM), "Talk");
};

TEST(ArchiveRules, RenamesAndDropsAreRefusedWithTheWindowsWords) {
    Tree t;
    using R = std::optional<std::string>;
    EXPECT_EQ(TArchive::RenameRefusal(*t.root, "Root", "Other"), kRootNotRenamed);
    EXPECT_EQ(TArchive::RenameRefusal(*t.pop, "Root", "Other"), kRootNotRenamed) << "any node named so";
    EXPECT_EQ(TArchive::RenameRefusal(*t.jazz, "Jazz", "TALK"), kNameExists);
    EXPECT_EQ(TArchive::RenameRefusal(*t.jazz, "Jazz", "JAZZ"), R()) << "its own name";
    EXPECT_EQ(TArchive::RenameRefusal(*t.jazz, "root", "Inner"), R()) << "a child is no sibling";
    t.archive.SetName(*t.root, "Other");
    EXPECT_EQ(t.root->Name(), "Root");

    const struct {
        tArchiveNode *source, *target;
        R refusal;
    } drops[] = {{t.blue, nullptr, ""},           {t.blue, t.blue, kSameNode},     {t.blue, t.jazz, kSameNode},
                 {t.root, t.root, kSameNode},     {t.root, t.pop, kRootNotMoved},  {t.jazz, t.inner, kParentOntoChild},
                 {t.jazz, t.deep, kParentOntoChild}, {t.blue, t.pop, kNameExists}, {t.inner, t.talk, kNotOntoStation},
                 {t.talk, t.inner, R()},          {t.inner, t.root, R()}};
    for (const auto& d : drops)
        EXPECT_EQ(TArchive::DropRefusal(d.source, d.target), d.refusal)
            << (d.source ? d.source->Name() : "") << " onto " << (d.target ? d.target->Name() : "nothing");
    EXPECT_EQ((std::vector{TArchive::KindOfNode(nullptr), TArchive::KindOfNode(t.root), TArchive::KindOfNode(t.talk),
                           TArchive::KindOfNode(t.inner)}),
              (std::vector{0, 1, 2, 3}));
}

TEST(ArchiveRules, MovesKeepNodesAndIdsAndDeletesKeepTheCount) {
    Tree t;
    EXPECT_FALSE(t.archive.MoveSubtree(*t.root, *t.pop));
    EXPECT_FALSE(t.archive.MoveSubtree(*t.jazz, *t.inner));
    EXPECT_FALSE(t.archive.MoveSubtree(*t.inner, *t.talk));
    ASSERT_TRUE(t.archive.MoveSubtree(*t.inner, *t.pop));
    EXPECT_TRUE(t.pop->Child(1) == t.inner && t.inner->Parent() == t.pop && t.inner->Child(0) == t.deep);
    EXPECT_EQ(t.inner->Record().parentId, t.pop->Record().id);
    ASSERT_TRUE(t.archive.MoveSubtree(*t.pop, *t.jazz));
    EXPECT_EQ(t.archive.NodeCount(), 8u);

    t.archive.Delete(*t.root);
    t.archive.Delete(*t.pop);
    EXPECT_EQ(t.archive.NodeCount(), 4u);
    platform::TProfile profile;
    t.archive.WriteTo(profile);
    EXPECT_EQ(profile.ReadInteger("Archive", "Rows", 0), 3);
    TArchive again;
    EXPECT_EQ(again.LoadFrom(profile), 0);
    EXPECT_EQ(Rows(again), (Strings{"2 7 0 K 000.900 Talk", "1 1 0 X 000.000 Jazz", "2 2 1 M 099.100 Blue Note"}));
    EXPECT_EQ(t.archive.NewFolder(*t.root)->Record().id, 8) << "ids of deleted nodes are not reused";
}

TEST(ArchiveFile, MissingUnreadableAndUnwritableFilesLoseNothing) {
    test::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    const std::string path = dir.File("Tunevox.db"), folder = dir.File("Folder.db"), loop = dir.File("Loop.db");
    Tree t;
    EXPECT_EQ(t.archive.Load(path).status, TArchive::eLoad::Missing);
    EXPECT_EQ(t.archive.NodeCount(), 1u);
    t.archive.NewFolder(t.archive.Root());
    std::string error;
    ASSERT_TRUE(t.archive.Save(path, &error)) << error;
    EXPECT_EQ(t.archive.Load(path).status, TArchive::eLoad::Loaded);
    EXPECT_EQ(t.archive.NodeCount(), 2u);

    // What could not be read is not written over.
    std::filesystem::create_directory(folder);
    ASSERT_EQ(::symlink("Loop.db", loop.c_str()), 0);
    const auto result = t.archive.Load(folder);
    EXPECT_EQ(result.status, TArchive::eLoad::Unreadable);
    EXPECT_EQ(result.error, std::strerror(EISDIR));
    EXPECT_EQ(t.archive.NodeCount(), 1u);
    EXPECT_EQ(t.archive.Load(loop).status, TArchive::eLoad::Unreadable);
    EXPECT_FALSE(t.archive.Save(loop, &error));
    EXPECT_EQ(error, std::strerror(ELOOP));
    EXPECT_TRUE(std::filesystem::is_symlink(loop));

    Tree big;
    for (int i = 0; i < 200; ++i) big.archive.NewStation(*big.jazz, 90.0, radio::bFM);
    const std::string old = test::ReadTextFile(path);
    if (geteuid() != 0) { // root reads and writes whatever the modes say
        ::chmod(path.c_str(), 0);
        EXPECT_EQ(t.archive.Load(path).error, std::strerror(EACCES));
        EXPECT_FALSE(big.archive.Save(path, &error));
        ::chmod(path.c_str(), 0644);
        ::chmod(dir.Path().c_str(), 0555);
        EXPECT_FALSE(big.archive.Save(path, &error));
        ::chmod(dir.Path().c_str(), 0755);
        EXPECT_EQ(test::ReadTextFile(path), old);
    }
    // Root or not, a file may not grow beyond its size limit: a child whose
    // files stop at 1 KiB saves the big archive and must fail, saying why.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit small{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_IGN);
        _exit(big.archive.Save(path, &error) ? 0 : error == std::strerror(EFBIG) ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(test::ReadTextFile(path), old);
}

} // namespace
} // namespace tunevox::archive
