// The archive's tree and the organizer's rules on it. Every walk over the
// tree is a loop with a stack of its own, never a recursion: a hand-made
// file can nest folders as deep as it has rows.

#include "archive/archive.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

namespace tunevox::archive {

tArchiveNode::~tArchiveNode() {
    std::vector<std::unique_ptr<tArchiveNode>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::unique_ptr<tArchiveNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) pending.push_back(std::move(child));
        node->children_.clear();
        // node goes here, with no children left to take along.
    }
}

const tStation* tArchiveNode::Station() const { return dynamic_cast<const tStation*>(record_.get()); }
tStation* tArchiveNode::Station() { return dynamic_cast<tStation*>(record_.get()); }

size_t tArchiveNode::Row() const {
    if (!parent_) return 0;
    const auto& siblings = parent_->children_;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this) return i;
    return 0;
}

namespace {

constexpr char kRootName[] = "Root";

// Nodes of the subtree at `top`, itself included.
size_t SubtreeSize(const tArchiveNode& top) {
    size_t count = 0;
    std::vector<const tArchiveNode*> pending{&top};
    while (!pending.empty()) {
        const tArchiveNode* node = pending.back();
        pending.pop_back();
        ++count;
        for (size_t i = 0; i < node->ChildCount(); ++i) pending.push_back(node->Child(i));
    }
    return count;
}

} // namespace

TArchive::TArchive() { Clear(); }
TArchive::~TArchive() = default;

void TArchive::Clear() {
    root_ = std::make_unique<tArchiveNode>();
    root_->name_ = kRootName;
    root_->record_ = std::make_unique<tFolder>(0, 0);
    count_ = 1;
    idCounter_ = 0;
}

void TArchive::ForEach(const std::function<void(const tArchiveNode&)>& visit) const {
    std::vector<const tArchiveNode*> pending{root_.get()};
    while (!pending.empty()) {
        const tArchiveNode* node = pending.back();
        pending.pop_back();
        visit(*node);
        // Pushed last to first, so the first child is visited next.
        for (size_t i = node->children_.size(); i-- > 0;) pending.push_back(node->children_[i].get());
    }
}

// --- rules ---

bool TArchive::IsAncestor(const tArchiveNode* a, const tArchiveNode* b) {
    if (!a) return false;
    for (; b; b = b->parent_)
        if (a == b) return true;
    return false;
}

bool TArchive::SiblingHasName(const tArchiveNode* node, std::string_view name, bool includingNode) {
    if (!node) return false;
    if (!node->parent_) return includingNode && SameName(node->name_, name);
    for (const auto& sibling : node->parent_->children_) {
        if (sibling.get() == node && !includingNode) continue;
        if (SameName(sibling->name_, name)) return true;
    }
    return false;
}

int TArchive::KindOfNode(const tArchiveNode* node) {
    if (!node) return 0;
    if (node->IsRoot()) return 1;
    return node->IsStation() ? 2 : 3;
}

std::optional<std::string> TArchive::RenameRefusal(const tArchiveNode& node, std::string_view oldName,
                                                   std::string_view newName) {
    // By the name the edit began with, exactly: the organizer knows the root
    // by it.
    if (oldName == kRootName) return kRootNotRenamed;
    if (SiblingHasName(&node, newName, false)) return kNameExists;
    return std::nullopt;
}

std::optional<std::string> TArchive::DropRefusal(const tArchiveNode* source, const tArchiveNode* target) {
    if (!source || !target) return std::string();
    if (target == source || target == source->parent_) return kSameNode;
    if (source->IsRoot()) return kRootNotMoved;
    if (IsAncestor(source, target)) return kParentOntoChild;
    // Asked before whether the target may hold anything at all; a station
    // has no children, so this never refuses a drop onto one.
    for (const auto& child : target->children_)
        if (SameName(child->name_, source->name_)) return kNameExists;
    if (target->IsStation()) return kNotOntoStation;
    return std::nullopt;
}

// --- editing ---

tArchiveNode* TArchive::Add(tArchiveNode& parent, std::unique_ptr<tFolder> record, std::string name) {
    auto node = std::make_unique<tArchiveNode>();
    node->name_ = std::move(name);
    node->record_ = std::move(record);
    node->record_->parentId = parent.record_->id;
    node->parent_ = &parent;
    parent.children_.push_back(std::move(node));
    ++count_;
    return parent.children_.back().get();
}

int32_t TArchive::NextId() {
    if (idCounter_ < INT32_MAX) return ++idCounter_;
    // A file that used the very last id: take the lowest free one above the
    // root's rather than wrap around into ids in use.
    std::unordered_set<int32_t> used;
    ForEach([&](const tArchiveNode& node) { used.insert(node.record_->id); });
    int32_t id = 1;
    while (used.count(id)) ++id;
    return id;
}

tArchiveNode* TArchive::NewFolder(tArchiveNode& parent) {
    if (parent.IsStation()) return nullptr;
    const int32_t id = NextId();
    return Add(parent, std::make_unique<tFolder>(parent.record_->id, id), kNewFolderName);
}

tArchiveNode* TArchive::NewStation(tArchiveNode& parent, double frequency, radio::tBand band) {
    if (parent.IsStation()) return nullptr;
    const int32_t id = NextId();
    return Add(parent, std::make_unique<tStation>(parent.record_->id, frequency, band, id), kNewStationName);
}

void TArchive::SetName(tArchiveNode& node, std::string name) {
    if (node.IsRoot()) return;
    node.name_ = std::move(name);
}

bool TArchive::MoveSubtree(tArchiveNode& node, tArchiveNode& newParent) {
    if (node.IsRoot() || newParent.IsStation() || IsAncestor(&node, &newParent)) return false;
    auto& from = node.parent_->children_;
    const auto at = std::find_if(from.begin(), from.end(), [&](const auto& child) { return child.get() == &node; });
    if (at == from.end()) return false;
    std::unique_ptr<tArchiveNode> moving = std::move(*at);
    from.erase(at);
    moving->parent_ = &newParent;
    moving->record_->parentId = newParent.record_->id;
    newParent.children_.push_back(std::move(moving));
    return true;
}

void TArchive::Delete(tArchiveNode& node) {
    if (node.IsRoot()) return;
    auto& from = node.parent_->children_;
    const auto at = std::find_if(from.begin(), from.end(), [&](const auto& child) { return child.get() == &node; });
    if (at == from.end()) return;
    count_ -= SubtreeSize(node);
    from.erase(at);
}

void TArchive::SortArchiveOrder() {
    const auto before = [](const std::unique_ptr<tArchiveNode>& a, const std::unique_ptr<tArchiveNode>& b) {
        const bool stationA = a->IsStation(), stationB = b->IsStation();
        if (stationA != stationB) return stationA;
        return CompareNames(a->name_, b->name_) < 0;
    };
    std::vector<tArchiveNode*> pending{root_.get()};
    while (!pending.empty()) {
        tArchiveNode* node = pending.back();
        pending.pop_back();
        std::stable_sort(node->children_.begin(), node->children_.end(), before);
        for (const auto& child : node->children_)
            if (!child->children_.empty()) pending.push_back(child.get());
    }
}

} // namespace tunevox::archive
