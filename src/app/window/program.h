#pragma once
// The program entry of `tunevox`: the command line, where the files live,
// the single-instance guard, the hardware, the port-access check, the main
// window and the event loop.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace tunevox::app {

struct tCommandLine {
    bool virtualHardware = false;
    bool configure = false; // --configure, or "\CONFIGURE" in any letter case
    QString stationsFile;
    QString dir;
};

// Parses the arguments (argv[0] first). Returns nullopt after printing help,
// the version or a usage error; exitCode then holds the status to end with.
std::optional<tCommandLine> ParseCommandLine(const QStringList& arguments, int* exitCode);

class tdMain;

// onShown, when given, runs once the main window is up (the start-up
// benchmark watches its first paint from there).
int RunTunevox(int argc, char** argv, const std::function<void(tdMain&)>& onShown = {});

} // namespace tunevox::app
