// How long a large archive takes: 10,000 nodes in five levels of folders
// (4, 16, 64, 256 and 1,024 of them, the stations shared out among the
// deepest), names in no order and in mixed case and scripts so that the
// sort has work to do. Loading includes putting the tree in the archive's
// order; sorting again is the cost of a tree already in order; saving is
// the whole of Save, the atomic write and its sync included. Each figure
// is the best of a few rounds.

#include "archive/archive.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tunevox::archive::TArchive;
using tunevox::archive::tArchiveNode;
using Clock = std::chrono::steady_clock;

constexpr size_t kNodes = 10000;
constexpr int kLevels = 5;
constexpr int kFanOut = 4;
constexpr int kRounds = 5;

template <typename Work>
double BestMilliseconds(Work&& work) {
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

std::string Name(unsigned& seed, const char* kind) {
    static const char* const kWords[] = {"Radio", "jazz", "Österreich", "KLASSIK", "Радио", "Ελλάδα", "talk", "Pop"};
    seed = seed * 1103515245u + 12345u;
    return std::string(kWords[(seed >> 16) % 8]) + " " + kind + " " + std::to_string((seed >> 8) % 100000);
}

void Build(TArchive& archive) {
    unsigned seed = 1;
    std::vector<tArchiveNode*> level{&archive.Root()};
    for (int depth = 0; depth < kLevels; ++depth) {
        std::vector<tArchiveNode*> next;
        for (tArchiveNode* parent : level) {
            for (int i = 0; i < kFanOut; ++i) {
                tArchiveNode* folder = archive.NewFolder(*parent);
                archive.SetName(*folder, Name(seed, "folder"));
                next.push_back(folder);
            }
        }
        level = std::move(next);
    }
    for (size_t i = 0; archive.NodeCount() < kNodes + 1; ++i) {
        tArchiveNode* station = archive.NewStation(*level[i % level.size()], 87.5 + (i % 205) * 0.1,
                                                   i % 5 == 0 ? tunevox::radio::bAM : tunevox::radio::bFM);
        archive.SetName(*station, Name(seed, "station"));
    }
}

} // namespace

int main() {
    char pattern[] = "/tmp/tunevox-bench-archive-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string folder = pattern;
    const std::string path = folder + "/Tunevox.db";

    TArchive built;
    Build(built);
    std::string error;
    if (!built.Save(path, &error)) {
        std::fprintf(stderr, "save failed: %s\n", error.c_str());
        return 1;
    }

    TArchive archive;
    int skipped = 0;
    const double load = BestMilliseconds([&] { skipped = archive.Load(path).skippedRows; });
    const double sort = BestMilliseconds([&] { archive.SortArchiveOrder(); });
    const double save = BestMilliseconds([&] {
        if (!archive.Save(path, &error)) std::fprintf(stderr, "save failed: %s\n", error.c_str());
    });
    const auto bytes = std::filesystem::file_size(path);

    std::printf("archive of %zu nodes in %d levels of folders (%d rows skipped)\n", archive.NodeCount() - 1,
                kLevels, skipped);
    std::printf("  load (with the sort)  %8.2f ms\n", load);
    std::printf("  sort again            %8.2f ms\n", sort);
    std::printf("  save                  %8.2f ms\n", save);
    std::printf("  file size             %8.1f KiB (%ju bytes)\n", bytes / 1024.0, static_cast<uintmax_t>(bytes));
    std::filesystem::remove_all(folder);
    return 0;
}
