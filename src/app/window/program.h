#pragma once
// The program entry of `tunevox`: the command line, where the files live,
// the single-instance guard, the hardware, the port-access check, the main
// window and the event loop.

#include "app/window/remote_command.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

namespace tunevox::rig {
struct tRigOptions;
}

namespace tunevox::app {

struct tCommandLine {
    bool virtualHardware = false;
    bool configure = false; // --configure, or "\CONFIGURE" in any letter case
    QString stationsFile;
    QString dir;
    // --tune, --preset, --mute, --unmute, --next, --previous: for the copy
    // that runs already, or for this one once it has started.
    std::optional<tRemoteCommand> command;
};

// Parses the arguments (argv[0] first). Returns nullopt after printing help,
// the version or a usage error; exitCode then holds the status to end with.
std::optional<tCommandLine> ParseCommandLine(const QStringList& arguments, int* exitCode);

class tdMain;

// What a tool of ours may add to a run of the program (the start-up
// benchmark): a look at the hardware's options before the rig is built
// (to record the card's waits), and a call once the main window is up.
struct tRunHooks {
    std::function<void(rig::tRigOptions&)> prepareRig;
    std::function<void(tdMain&)> onShown;
};

int RunTunevox(int argc, char** argv, const tRunHooks& hooks = {});

} // namespace tunevox::app
