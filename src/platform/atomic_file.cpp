#include "platform/atomic_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tunevox::platform {

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Writes everything, across short writes and signals; errno on failure.
int WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        // A write that takes nothing and reports no error would loop for ever.
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

// The file a link points to, so that saving through a link replaces the
// file and keeps the link.
std::string FollowLinks(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
    return path; // a dangling link: the rename replaces the link itself
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

} // namespace

bool WriteFileAtomically(const std::string& requested, const std::string& bytes, std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    const std::string path = FollowLinks(requested);
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) return fail(Reason(EISDIR));

    // The temporary file is made with the mode a new file gets (the umask
    // applies); O_EXCL with a random name keeps two savers apart.
    std::mt19937_64 random{std::random_device{}()};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = path + ".tmp" + std::to_string(random() % 1000000000ULL);
        do fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        while (fd < 0 && errno == EINTR);
        if (fd < 0 && errno != EEXIST) return fail(Reason(errno));
    }
    if (fd < 0) return fail(Reason(EEXIST));

    auto abandon = [&](int why) {
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(Reason(why));
    };
    if (exists) (void)::fchmod(fd, target.st_mode & 07777);
    // Every step is checked before the rename: a write cut short by a full
    // disk or a size limit, a sync or a close that reports a lost write
    // (EIO, ENOSPC on network file systems) all keep the old file.
    if (int e = WriteAll(fd, bytes.data(), bytes.size())) return abandon(e);
    if (::fsync(fd) != 0 && errno != EINVAL) return abandon(errno);
    if (::close(fd) != 0 && errno != EINTR) {
        const int e = errno;
        ::unlink(temp.c_str());
        return fail(Reason(e));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        return fail(Reason(e));
    }
    // The rename itself lives in the folder: sync it too, so the new name
    // survives a power cut. Failing here loses nothing already written.
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const size_t slash = path.rfind('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    auto all = [](std::string_view s, int (*is)(int)) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [is](char c) { return is(static_cast<unsigned char>(c)); });
    };
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view rest = name.substr(prefix.size());
        const bool ours = rest.substr(0, 3) == "tmp" && all(rest.substr(3), ::isdigit);
        const bool qts = rest.size() == 6 && all(rest, ::isalnum);
        if (ours || qts) ::unlink((folder + "/" + std::string(name)).c_str());
    }
    ::closedir(dir);
}

} // namespace tunevox::platform
