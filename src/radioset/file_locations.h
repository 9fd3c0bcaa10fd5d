#pragma once
// Where the program's files live. Portable: a "Tunevox.ini" beside the
// executable keeps every file there. Otherwise the files the program writes
// ("Tunevox.ini", "Tunevox.db", scripts) live in $XDG_CONFIG_HOME/tunevox
// (~/.config/tunevox), and the files it only reads (help, tips) are found
// beside the executable (build tree) or in the install's data folder
// (<prefix>/share/tunevox). An explicit folder (--dir) overrides both.

#include <string>

namespace tunevox::radioset {

struct tFileLocations {
    std::string configDir;  // writable folder: Tunevox.ini, Tunevox.db
    std::string dataDir;    // read-only data: help and tips files
    std::string IniPath() const { return configDir + "/Tunevox.ini"; }
    std::string ArchivePath() const { return configDir + "/Tunevox.db"; }
    std::string HelpPath() const { return dataDir + "/Tunevox.html"; }
    std::string TipsPath() const { return dataDir + "/Tunevox.txt"; }
};

struct tLocationInputs {
    std::string exeDir;        // folder of the running executable
    std::string dirOverride;   // --dir, empty when not given
    std::string xdgConfigHome; // $XDG_CONFIG_HOME, may be empty
    std::string home;          // $HOME
};

// Pure: decides from the inputs and what exists on disk; creates nothing.
tFileLocations ResolveFileLocations(const tLocationInputs& in);
// Creates configDir when missing; false with a reason on failure.
bool EnsureConfigDir(const tFileLocations& where, std::string* error);

} // namespace tunevox::radioset
