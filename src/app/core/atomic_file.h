#pragma once
// Whole-file reads and atomic writes. A write goes to a temporary file
// beside the target, is flushed and renamed over it, so a crash or a full
// disk during a save leaves the previous file whole.

#include <optional>
#include <string>

namespace tunevox::app {

// The file's bytes, or nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// true on success; otherwise error (if given) holds a readable reason.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

} // namespace tunevox::app
