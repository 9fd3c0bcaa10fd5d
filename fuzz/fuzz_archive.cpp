// The station archive (TArchive::LoadFrom) on any bytes read as its INI
// file. Beyond not crashing, the tree it loads must hold together (ids
// unique, every record's parent id that of the node it hangs under, the
// count right, the archive's order) and survive a save: written to a
// document, through its text as a save puts it on disk, and loaded again,
// it must give the same tree, node for node, with nothing skipped, or the
// organizer's OK would change or lose what the user never touched.

#include "archive/archive.h"
#include "platform/profile.h"
#include "radio/frequency.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

using namespace tunevox;

namespace {

struct tSeen {
    const archive::tArchiveNode* parent;
    std::string name;
    int kind;
    int32_t id;
    int32_t parentId;
    std::string frequency;
    int band;
    bool operator==(const tSeen& o) const {
        return name == o.name && kind == o.kind && id == o.id && parentId == o.parentId &&
               frequency == o.frequency && band == o.band;
    }
};

std::vector<tSeen> Nodes(const archive::TArchive& tree) {
    std::vector<tSeen> nodes;
    std::unordered_set<int32_t> ids;
    tree.ForEach([&](const archive::tArchiveNode& node) {
        const archive::tStation* station = node.Station();
        nodes.push_back({node.Parent(), node.Name(), archive::TArchive::KindOfNode(&node), node.Record().id,
                         node.Record().parentId, station ? radio::FrequencyText(station->frequency) : "",
                         station ? station->band : -1});
        if (!ids.insert(node.Record().id).second) __builtin_trap();
        if (node.Parent() && node.Record().parentId != node.Parent()->Record().id) __builtin_trap();
        if (node.IsStation() && node.ChildCount() != 0) __builtin_trap();
        for (size_t i = 1; i < node.ChildCount(); ++i) {
            const archive::tArchiveNode* a = node.Child(i - 1);
            const archive::tArchiveNode* b = node.Child(i);
            if (a->IsStation() == b->IsStation() ? archive::CompareNames(a->Name(), b->Name()) > 0
                                                  : !a->IsStation())
                __builtin_trap();
        }
    });
    if (nodes.size() != tree.NodeCount()) __builtin_trap();
    return nodes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::TProfile file;
    file.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
    archive::TArchive first;
    first.LoadFrom(file);
    const std::vector<tSeen> before = Nodes(first);

    platform::TProfile written;
    first.WriteTo(written);
    platform::TProfile reread;
    reread.LoadText(written.ToText());
    archive::TArchive second;
    if (second.LoadFrom(reread) != 0) __builtin_trap();
    if (second.IdCounter() != first.IdCounter()) __builtin_trap();
    if (Nodes(second) != before) __builtin_trap();
    return 0;
}
