#pragma once
// Names are UTF-8 and their limits count characters, not bytes. Files from
// the program's Windows past hold names in the Windows-1252 code page; such
// bytes are not valid UTF-8 and are taken as that code page instead.

#include <string>
#include <string_view>

namespace tunevox::radioset {

bool IsValidUtf8(std::string_view text);
// text itself when it is valid UTF-8, else text read as Windows-1252.
std::string AsUtf8(std::string_view text);
// Number of characters (code points) of valid UTF-8 text.
size_t Utf8Length(std::string_view text);
// The first n characters of valid UTF-8 text.
std::string_view Utf8Left(std::string_view text, size_t n);

} // namespace tunevox::radioset
