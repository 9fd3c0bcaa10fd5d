#pragma once
// The station archive: the user's own catalogue of stations, apart from
// the 100 favorites. A tree of folders and stations of any depth under one
// root, kept in Tunevox.db beside the configuration. The organizer builds
// it from the file when it opens, edits it, and writes it back on OK only.
//
// This is the tree and its rules without any widget: the organizer shows it
// through an item model, and the tests run the rules directly. Nodes are
// owned by their parent; a node's address stays the same for its whole
// life, moves included, so a view may hold on to it.
//
// Names are UTF-8 and compared without regard to case: "Jazz" and "JAZZ",
// "Österreich" and "ÖSTERREICH" are the same name.

#include "radio/radio_types.h"
#include "radioset/name_case.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunevox::platform {
class TProfile;
}

namespace tunevox::archive {

// The record every node carries. kind 1: a folder (the root is one).
struct tFolder {
    tFolder(int32_t parentId, int32_t id) : parentId(parentId), id(id) {}
    virtual ~tFolder() = default;
    uint8_t kind = 1;
    int32_t parentId = 0; // 0 for a child of the root, and for the root
    int32_t id = 0;       // the root has 0
};

// kind 2: a station. Frequency in MHz on both bands (531 kHz is 0.531).
struct tStation final : tFolder {
    tStation(int32_t parentId, double frequency, radio::tBand band, int32_t id)
        : tFolder(parentId, id), frequency(frequency), band(band) {
        kind = 2;
    }
    double frequency = 0.0;
    radio::tBand band = radio::bFM;
};

class TArchive;

class tArchiveNode {
public:
    tArchiveNode() = default;
    // Takes the subtree apart level by level: a file may nest folders
    // thousands deep, and a destructor per level would need a stack frame
    // per level.
    ~tArchiveNode();
    tArchiveNode(const tArchiveNode&) = delete;
    tArchiveNode& operator=(const tArchiveNode&) = delete;

    const std::string& Name() const { return name_; }
    const tFolder& Record() const { return *record_; }
    tFolder& Record() { return *record_; }
    bool IsStation() const { return record_->kind == 2; }
    bool IsRoot() const { return parent_ == nullptr; }
    // The record as a station; null for the root and folders.
    const tStation* Station() const;
    tStation* Station();

    tArchiveNode* Parent() const { return parent_; }
    size_t ChildCount() const { return children_.size(); }
    tArchiveNode* Child(size_t i) const { return i < children_.size() ? children_[i].get() : nullptr; }
    // The node's place among its parent's children; 0 for the root.
    size_t Row() const;

private:
    friend class TArchive;
    std::string name_;
    std::unique_ptr<tFolder> record_;
    tArchiveNode* parent_ = nullptr;
    std::vector<std::unique_ptr<tArchiveNode>> children_;
};

// What a refused rename or drop says, in the window's words.
inline constexpr char kRootNotRenamed[] = "This node can't be renamed";
inline constexpr char kNameExists[] = "A node with this name already exists";
inline constexpr char kSameNode[] = "Destination node is the same as the source node";
inline constexpr char kRootNotMoved[] = "Cant drag/drop the root";
inline constexpr char kParentOntoChild[] = "Cant drop parent onto child";
inline constexpr char kNotOntoStation[] = "You cant drop this type of node here!";

// The names new nodes start with (siblings may share them until renamed).
inline constexpr char kNewFolderName[] = "Folder Name";
inline constexpr char kNewStationName[] = "Station Name";

class TArchive {
public:
    // Only the root: "Root", a folder with id 0.
    TArchive();
    ~TArchive();
    TArchive(const TArchive&) = delete;
    TArchive& operator=(const TArchive&) = delete;

    tArchiveNode& Root() { return *root_; }
    const tArchiveNode& Root() const { return *root_; }
    // Nodes of the tree, the root included.
    size_t NodeCount() const { return count_; }
    // The highest id in use; a new node takes the one above it.
    int32_t IdCounter() const { return idCounter_; }
    // Every node in tree order (each before its children, children in
    // their order), the root first.
    void ForEach(const std::function<void(const tArchiveNode&)>& visit) const;

    // --- rules ---
    // a is b, or an ancestor of b. false when either is null.
    static bool IsAncestor(const tArchiveNode* a, const tArchiveNode* b);
    // Whether a sibling of `node` (and `node` itself when included) has
    // `name`, without regard to case. false for no node.
    static bool SiblingHasName(const tArchiveNode* node, std::string_view name, bool includingNode);
    // 0 no node, 1 the root, 3 a folder under a parent, 2 a station.
    static int KindOfNode(const tArchiveNode* node);
    // Why renaming `node` (which had `oldName` when its edit began) to
    // `newName` is refused, or nullopt when it may: kRootNotRenamed for a
    // node that was named exactly "Root" (the root, or any node named so),
    // kNameExists when another sibling has the new name without regard to
    // case. Its own name, in any case, is fine.
    static std::optional<std::string> RenameRefusal(const tArchiveNode& node, std::string_view oldName,
                                                    std::string_view newName);
    // Why dropping `source` onto `target` is refused, or nullopt when it
    // may move there; the first rule that applies wins. A null target is
    // no drop at all: refused with an empty text, which shows nothing.
    static std::optional<std::string> DropRefusal(const tArchiveNode* source, const tArchiveNode* target);

    // --- editing (the organizer's) ---
    // A new last child of `parent`: "Folder Name" / "Station Name", the next
    // id. null when `parent` is a station.
    tArchiveNode* NewFolder(tArchiveNode& parent);
    tArchiveNode* NewStation(tArchiveNode& parent, double frequency, radio::tBand band);
    void SetName(tArchiveNode& node, std::string name);
    // `node` with its subtree becomes the last child of `newParent`; its
    // parent id follows. The nodes keep their addresses. false (nothing
    // moves) for the root, a station as parent, or a move into its own
    // subtree.
    bool MoveSubtree(tArchiveNode& node, tArchiveNode& newParent);
    // Removes `node` and its subtree; the root stays.
    void Delete(tArchiveNode& node);
    // The archive's order: under every parent stations before folders,
    // each kind by name without regard to case (ties keep their order).
    void SortArchiveOrder();

    // --- the file ---
    enum class eLoad { Loaded, Missing, Unreadable };
    struct tLoadResult {
        eLoad status = eLoad::Loaded;
        std::string error;      // the system's reason, for Unreadable
        int skippedRows = 0;    // rows that could not be placed or read
    };
    // Replaces the tree with the file's (a missing file gives only the
    // root), puts it in the archive's order and sets the id counter.
    tLoadResult Load(const std::string& path);
    // Writes the "Archive" section, keeping whatever else the file holds,
    // atomically: on failure (false, error filled) the old file is whole.
    bool Save(const std::string& path, std::string* error) const;
    // The same on a document in memory (tests, fuzzers).
    int LoadFrom(const platform::TProfile& profile); // returns the rows skipped
    void WriteTo(platform::TProfile& profile) const;

    // A node's row: "1 4 0 X 000.000 Jazz", "2 7 4 M 098.700 Radio One".
    static std::string RowText(const tArchiveNode& node);

private:
    tArchiveNode* Add(tArchiveNode& parent, std::unique_ptr<tFolder> record, std::string name);
    void Clear();
    int32_t NextId();

    std::unique_ptr<tArchiveNode> root_;
    size_t count_ = 1;
    int32_t idCounter_ = 0;
};

// Names compared without regard to case (Unicode simple case folding of
// the Latin, Greek and Cyrillic letters; other characters as they are).
inline bool SameName(std::string_view a, std::string_view b) { return radioset::SameNameIgnoringCase(a, b); }
// Negative, zero or positive, as a before, equal to or after b, without
// regard to case.
inline int CompareNames(std::string_view a, std::string_view b) { return radioset::CompareNamesIgnoringCase(a, b); }

} // namespace tunevox::archive
