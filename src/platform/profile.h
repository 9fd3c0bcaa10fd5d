#pragma once
// TProfile: an INI document with the semantics the program's files have
// always relied on: sections and keys found without regard to letter case,
// values trimmed of leading and trailing blanks, "key=value" lines, whole
// sections erased and written again. Integers and booleans are read the way
// a profile reader of old did: leading decimal digits (with an optional
// sign) count, "0x" followed by hexadecimal digits is hexadecimal, anything
// else unreadable is 0, an empty value counts as absent (the fallback), and
// values beyond the int range saturate. A boolean is true when its integer
// is not 0. A value is one line: line breaks written into it become blanks.
// The document lives in memory; reading and writing the file are the
// caller's business (see ToText / LoadText), so that saving can be atomic.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tunevox::platform {

class TProfile {
public:
    TProfile();
    ~TProfile();
    TProfile(const TProfile&) = delete;
    TProfile& operator=(const TProfile&) = delete;

    // Replaces the document with the parsed text: any line ending, with or
    // without a UTF-8 byte-order mark. Lines that are neither a section, a
    // key=value pair nor a comment are ignored.
    void LoadText(std::string_view text);
    // The whole document, one "key=value" per line, LF line endings,
    // sections in the order they were first created.
    std::string ToText() const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> ReadSection(std::string_view section) const; // key names

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value); // "1" / "0"

    void EraseSection(std::string_view section);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tunevox::platform
