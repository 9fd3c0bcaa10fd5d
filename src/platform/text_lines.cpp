#include "text_lines.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tunevox::platform {

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(bytes.substr(start, i - start));
            // CR LF is one terminator.
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

bool ReadFileChunks(const std::string& path, const std::function<bool(std::string_view chunk)>& take,
                    int* error) {
    int fd;
    do fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error) *error = errno;
        return false;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            if (!take(std::string_view(buf, static_cast<size_t>(n)))) break;
            continue;
        }
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (error) *error = errno; // a directory gives EISDIR here
        ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, int* error) {
    std::string text;
    if (!ReadFileChunks(path, [&](std::string_view chunk) { text.append(chunk); return true; }, error))
        return std::nullopt;
    return text;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, int* error) {
    auto text = ReadWholeFile(path, error);
    if (!text) return std::nullopt;
    return SplitTextLines(*text);
}

} // namespace tunevox::platform
