#pragma once
// Atomic writes. The bytes go to a temporary file beside the target, which
// is written out, synced and checked before it is renamed over the target,
// so a crash, a full disk or a file size limit during a save leaves the
// previous file whole. Reading a whole file is platform::ReadWholeFile.

#include <string>

namespace tunevox::platform {

// true on success; otherwise error (if given) holds the system's reason
// ("No space left on device", "File too large", ...), the target is as it
// was and no temporary file is left behind. A symbolic link is followed:
// the file it points to is replaced, the link stays. A new file gets the
// permissions the umask gives; a replaced one keeps its own.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

// Removes what a save of `path` interrupted by a kill or a power cut left
// beside it: our temporaries ("Tunevox.ini.tmp" and digits) and those of
// the versions that saved through Qt ("Tunevox.ini." and six letters or
// digits). Only for files no other program writes at the same time.
void RemoveStaleTemporaries(const std::string& path);

} // namespace tunevox::platform
