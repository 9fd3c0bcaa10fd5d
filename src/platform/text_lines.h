#pragma once
// Reading text files the way every reader of the program does (station
// lists, the configuration, presets, scripts, the tips file): the whole
// file at once, split into lines whatever its line endings (LF, CR LF or
// CR, even mixed), with or without a UTF-8 byte-order mark. The lines come
// without their terminators; nothing else is changed (no trimming, no
// character set conversion).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunevox::platform {

// Splits a file's bytes into lines. A UTF-8 byte-order mark (EF BB BF) at
// the very start is dropped. A terminator at the end of the last line is
// optional: "a\nb" and "a\nb\n" both give {"a", "b"}; "" gives no line and
// "\n" one empty line.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Reads a whole file as bytes. nullopt when it cannot be opened or read;
// `error` (if given) then receives the errno.
std::optional<std::string> ReadWholeFile(const std::string& path, int* error = nullptr);

// Reads a file chunk by chunk, handing each to `take` until it returns
// false (the reader has what it needs) or the file ends, so a reader that
// wants only the start of a huge file never holds all of it. false when the
// file cannot be opened or read; `error` (if given) then receives the errno.
bool ReadFileChunks(const std::string& path, const std::function<bool(std::string_view chunk)>& take,
                    int* error = nullptr);

// ReadWholeFile followed by SplitTextLines.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, int* error = nullptr);

} // namespace tunevox::platform
