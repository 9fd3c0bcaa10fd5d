#include "radioset/file_locations.h"

#include <filesystem>
#include <system_error>

namespace tunevox::radioset {

namespace fs = std::filesystem;

namespace {

// "/a/b/" and "/a/b/../b" both become "/a/b", so that the file paths built
// by appending "/name" read cleanly in messages.
std::string Clean(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool IsFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// A folder holds the read-only data when either of its files is there.
bool HoldsData(const fs::path& dir) {
    return IsFile(dir / "Tunevox.html") || IsFile(dir / "Tunevox.txt");
}

} // namespace

tFileLocations ResolveFileLocations(const tLocationInputs& in) {
    const fs::path exeDir(in.exeDir);
    tFileLocations where;

    if (!in.dirOverride.empty()) {
        where.configDir = Clean(in.dirOverride);
    } else if (!in.exeDir.empty() && IsFile(exeDir / "Tunevox.ini")) {
        where.configDir = Clean(exeDir); // portable
    } else if (!in.xdgConfigHome.empty() && fs::path(in.xdgConfigHome).is_absolute()) {
        // A relative $XDG_CONFIG_HOME is invalid and is to be ignored.
        where.configDir = Clean(fs::path(in.xdgConfigHome) / "tunevox");
    } else if (!in.home.empty()) {
        where.configDir = Clean(fs::path(in.home) / ".config" / "tunevox");
    } else {
        // No home at all (a bare service environment): keep the files beside
        // the program rather than in the current directory.
        where.configDir = Clean(exeDir.empty() ? fs::path(".") : exeDir);
    }

    // Help and tips: the --dir folder when it holds them, then the folder
    // of the executable (a build tree, a portable copy), else the data
    // folder of an installation beside its bin folder.
    if (!in.dirOverride.empty() && HoldsData(in.dirOverride)) {
        where.dataDir = Clean(in.dirOverride);
    } else if (!in.exeDir.empty() && HoldsData(exeDir)) {
        where.dataDir = Clean(exeDir);
    } else {
        where.dataDir = Clean(exeDir / ".." / "share" / "tunevox");
    }
    return where;
}

bool EnsureConfigDir(const tFileLocations& where, std::string* error) {
    std::error_code ec;
    const fs::path dir(where.configDir);
    if (fs::is_directory(dir, ec)) return true;
    fs::create_directories(dir, ec);
    if (ec) {
        if (error) *error = ec.message();
        return false;
    }
    if (!fs::is_directory(dir, ec)) {
        if (error) *error = "not a folder";
        return false;
    }
    return true;
}

} // namespace tunevox::radioset
