// Tunevox.db: the archive as an INI document. Section "Archive", "Rows" the
// number of nodes below the root, then "Row1".."RowN" in tree order, so
// every parent comes before its children and each row can be hung under a
// node already read:
//   Row1=1 4 0 X 000.000 Jazz          kind 1, a folder
//   Row2=2 9 4 K 000.531 Talk          kind 2, a station (K AM, M FM)
// kind, id, parent id, band, frequency, name, one blank between each; the
// name is the rest of the line, blanks and all.

#include "archive/archive.h"

#include "platform/number_text.h"
#include "platform/profile.h"
#include "platform/text_lines.h"
#include "radio/frequency.h"
#include "platform/atomic_file.h"
#include "radioset/utf8_text.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace tunevox::archive {

namespace {

constexpr char kSection[] = "Archive";
constexpr char kRowsKey[] = "Rows";

struct tRow {
    int kind = 0;
    int32_t id = 0;
    int32_t parentId = 0;
    radio::tBand band = radio::bFM;
    double frequency = 0.0;
    std::string name;
};

std::optional<int32_t> WholeNumber(std::string_view field) {
    const auto value = platform::ParseInteger(field);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*value);
}

// nullopt for a row that says nothing usable: a field that is not a
// number, a kind the archive does not know.
std::optional<tRow> ParseRow(std::string_view text) {
    std::string_view fields[5];
    for (int f = 0; f < 4; ++f) {
        const size_t blank = text.find(' ');
        if (blank == std::string_view::npos) return std::nullopt;
        fields[f] = text.substr(0, blank);
        text.remove_prefix(blank + 1);
    }
    // The profile trims its values, so the blank after the frequency is gone
    // when the name was empty: five fields are a row with an empty name.
    const size_t blank = text.find(' ');
    fields[4] = text.substr(0, blank);
    const std::string_view name = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);

    const auto kind = WholeNumber(fields[0]);
    const auto id = WholeNumber(fields[1]);
    const auto parentId = WholeNumber(fields[2]);
    if (!kind || !id || !parentId || (*kind != 1 && *kind != 2)) return std::nullopt;
    // A folder's frequency means nothing; a scribble there must not cost
    // the folder and everything under it.
    auto frequency = platform::ParseReal(fields[4]);
    if (*kind == 1) frequency = 0.0;
    if (!frequency || !std::isfinite(*frequency)) return std::nullopt;

    tRow row;
    row.kind = *kind;
    row.id = *id;
    row.parentId = *parentId;
    row.band = (fields[3] == "K" || fields[3] == "k") ? radio::bAM : radio::bFM;
    row.frequency = *frequency;
    // Files from the Windows past hold names in its code page.
    row.name = radioset::AsUtf8(name);
    return row;
}

// 17 for "Row17" in any letter case; nullopt for every other key, "Row017"
// included, which no "Row"+n names.
std::optional<long long> RowNumber(std::string_view key) {
    if (key.size() < 4 || key.size() > 13) return std::nullopt;
    for (size_t i = 0; i < 3; ++i)
        if ((key[i] | 0x20) != "row"[i]) return std::nullopt;
    key.remove_prefix(3);
    if (key.front() == '0') return std::nullopt;
    long long n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string Reason(int error) { return std::strerror(error != 0 ? error : EIO); }

} // namespace

std::string TArchive::RowText(const tArchiveNode& node) {
    // The parent's id is taken from the tree itself, so the file always
    // reads back into the tree it was written from.
    const int32_t parentId = node.Parent() ? node.Parent()->Record().id : 0;
    std::string text;
    if (const tStation* station = node.Station()) {
        text = "2 " + std::to_string(station->id) + " " + std::to_string(parentId) +
               (station->band == radio::bAM ? " K " : " M ") + radio::FrequencyText(station->frequency);
    } else {
        text = "1 " + std::to_string(node.Record().id) + " " + std::to_string(parentId) + " X 000.000";
    }
    text += ' ';
    const size_t nameAt = text.size();
    text += node.Name();
    // A line break would end the row and start a line of its own.
    std::replace_if(text.begin() + static_cast<std::ptrdiff_t>(nameAt), text.end(),
                    [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

int TArchive::LoadFrom(const platform::TProfile& profile) {
    Clear();
    // Only keys that are there are visited: a "Rows" of two billion over a
    // handful of rows costs a handful of look-ups, not two billion.
    const int rows = profile.ReadInteger(kSection, kRowsKey, 0);
    std::vector<std::pair<long long, std::string>> keys;
    for (std::string& key : profile.ReadSection(kSection)) {
        const auto n = RowNumber(key);
        if (n && *n <= rows) keys.emplace_back(*n, std::move(key));
    }
    std::sort(keys.begin(), keys.end());

    // A row hangs under the first node in tree order that has its parent id.
    // Rows come parents first, and an id already in use is refused below, so
    // that node is the one loaded with the id, found in a map instead of by
    // a walk over the tree per row. A second node with a used id (0, the
    // root's, included) is skipped rather than kept: every later row naming
    // that id as its parent would be ambiguous, and the file written back
    // would hold two rows claiming one id.
    std::unordered_map<int32_t, tArchiveNode*> byId;
    byId.reserve(keys.size() + 1);
    byId.emplace(0, root_.get());
    int skipped = 0;
    int32_t highest = 0;
    for (const auto& [n, key] : keys) {
        std::optional<tRow> row;
        {
            const std::string text = profile.ReadString(kSection, key, "");
            if (text.empty()) continue;
            row = ParseRow(text);
        }
        if (!row) {
            ++skipped;
            continue;
        }
        const auto parent = byId.find(row->parentId);
        if (parent == byId.end() || parent->second->IsStation() || byId.count(row->id)) {
            ++skipped;
            continue;
        }
        std::unique_ptr<tFolder> record;
        if (row->kind == 2) record = std::make_unique<tStation>(row->parentId, row->frequency, row->band, row->id);
        else record = std::make_unique<tFolder>(row->parentId, row->id);
        byId.emplace(row->id, Add(*parent->second, std::move(record), std::move(row->name)));
        highest = std::max(highest, row->id);
    }
    SortArchiveOrder();
    idCounter_ = highest;
    return skipped;
}

void TArchive::WriteTo(platform::TProfile& profile) const {
    profile.EraseSection(kSection);
    profile.WriteInteger(kSection, kRowsKey, static_cast<int>(std::min<size_t>(count_ - 1, INT_MAX)));
    size_t n = 0;
    ForEach([&](const tArchiveNode& node) {
        if (node.IsRoot()) return;
        profile.WriteString(kSection, "Row" + std::to_string(++n), RowText(node));
    });
}

TArchive::tLoadResult TArchive::Load(const std::string& path) {
    tLoadResult result;
    int error = 0;
    const auto bytes = platform::ReadWholeFile(path, &error);
    if (!bytes) {
        Clear();
        if (error == ENOENT) {
            result.status = eLoad::Missing;
        } else {
            result.status = eLoad::Unreadable;
            result.error = Reason(error);
        }
        return result;
    }
    platform::TProfile profile;
    profile.LoadText(*bytes);
    result.skippedRows = LoadFrom(profile);
    return result;
}

bool TArchive::Save(const std::string& path, std::string* error) const {
    // The file may hold more than the archive; what it holds besides is
    // kept, so a file that exists but cannot be read is not written over.
    platform::TProfile profile;
    int readError = 0;
    if (const auto bytes = platform::ReadWholeFile(path, &readError)) {
        profile.LoadText(*bytes);
    } else if (readError != ENOENT) {
        if (error) *error = Reason(readError);
        return false;
    }
    WriteTo(profile);
    return platform::WriteFileAtomically(path, profile.ToText(), error);
}

} // namespace tunevox::archive
