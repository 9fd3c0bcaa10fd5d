#pragma once
// Files may not grow beyond a few bytes while a FileSizeLimit lives: a
// write then fails as on a full disk, without a disk to fill and whoever
// runs the tests (root writes whatever the file modes say). Only the soft
// limit is lowered, so it can be raised again; the signal such a write
// raises is ignored meanwhile, as a full file system raises none.

#include <csignal>
#include <sys/resource.h>

namespace tunevox::presets::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

} // namespace tunevox::presets::test
