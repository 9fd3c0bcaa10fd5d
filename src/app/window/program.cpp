#include "app/window/program.h"

#include "radioset/atomic_file.h"
#include "platform/text_lines.h"
#include "radioset/configuration.h"
#include "radioset/file_locations.h"
#include "app/window/main_window.h"
#include "app/dialogs/port_access_dialog.h"
#include "app/window/qt_interaction.h"
#include "app/window/rig_host.h"
#include "app/window/signal_bridge.h"
#include "app/window/single_instance.h"
#include "display/pictures.h"
#include "platform/profile.h"
#include "platform/trace.h"
#include "radio/radio_card.h"
#include "rig/hardware_rig.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSessionManager>
#include <QTextStream>

#include <cstdio>

#ifndef TUNEVOX_VERSION
#define TUNEVOX_VERSION "0"
#endif

namespace tunevox::app {

std::optional<tCommandLine> ParseCommandLine(const QStringList& arguments, int* exitCode) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Tunevox turns a PC's radio tuner card or serial radio into a radio set.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption virt("virtual", "Run on emulated receivers and an emulated sound card.");
    const QCommandLineOption stations("stations", "What the emulated receivers hear (with --virtual).", "FILE");
    const QCommandLineOption dir("dir", "Keep every file of the program in DIR.", "DIR");
    const QCommandLineOption configure("configure", "Open the settings before the main window.");
    parser.addOptions({virt, stations, dir, configure});
    parser.addPositionalArgument("\\CONFIGURE", "The same as --configure, in any letter case.", "[\\CONFIGURE]");

    *exitCode = 0;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "tunevox: %s\n", qPrintable(parser.errorText()));
        *exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return std::nullopt;
    }
    if (parser.isSet(version)) {
        std::printf("tunevox %s\n", TUNEVOX_VERSION);
        return std::nullopt;
    }
    tCommandLine line;
    line.virtualHardware = parser.isSet(virt);
    line.configure = parser.isSet(configure);
    line.stationsFile = parser.value(stations);
    line.dir = parser.value(dir);
    for (const QString& p : parser.positionalArguments()) {
        if (p.toUpper() == "\\CONFIGURE") {
            line.configure = true;
        } else {
            std::fprintf(stderr, "tunevox: unknown argument %s (see --help)\n", qPrintable(p));
            *exitCode = 2;
            return std::nullopt;
        }
    }
    if (!line.stationsFile.isEmpty() && !line.virtualHardware) {
        std::fprintf(stderr, "tunevox: --stations needs --virtual\n");
        *exitCode = 2;
        return std::nullopt;
    }
    return line;
}

int RunTunevox(int argc, char** argv, const std::function<void(tdMain&)>& onShown) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tunevox");
    QApplication::setApplicationVersion(TUNEVOX_VERSION);
    QApplication::setDesktopFileName("tunevox");
    QApplication::setWindowIcon(display::AppIcon(false));
    // Closing the last dialog (the settings at first run, a message box)
    // must not end the program: the main window decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);

    int exitCode = 0;
    const auto line = ParseCommandLine(QApplication::arguments(), &exitCode);
    if (!line) return exitCode;

    tLocationInputs in;
    in.exeDir = QApplication::applicationDirPath().toStdString();
    in.dirOverride = line->dir.toStdString();
    in.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    in.home = qEnvironmentVariable("HOME").toStdString();
    const tFileLocations files = ResolveFileLocations(in);

    TSingleInstance guard(QString::fromStdString(files.configDir));
    if (!guard.Claim()) return 0; // the running copy shows itself

    rig::tRigOptions options;
    options.emulated = line->virtualHardware;
    options.waits = rig::tWaits::kReal; // a seek steps visibly, as with a real card
    if (!line->stationsFile.isEmpty()) {
        std::vector<std::string> errors;
        auto loaded = emulator::StationList::Load(line->stationsFile.toStdString(), &errors);
        if (!loaded) {
            for (const auto& e : errors)
                std::fprintf(stderr, "tunevox: %s: %s\n", qPrintable(line->stationsFile), e.c_str());
            return 2;
        }
        options.stations = std::move(*loaded);
    }
    QtEventPoster poster(&app);
    options.events = &poster;
    std::unique_ptr<platform::TraceSink> trace = platform::TraceSink::FromEnvironment();
    options.trace = trace.get();

    std::unique_ptr<rig::THardwareRig> rig;
    try {
        rig = std::make_unique<rig::THardwareRig>(std::move(options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tunevox: %s\n", e.what());
        return 1;
    }
    TRigCardHost host(*rig);
    QtInteraction interaction;
    SystemClock clock;

    // Port access is checked before any window: an I/O-port card that the
    // process cannot reach would only ever show "?????".
    {
        platform::TProfile profile;
        if (auto bytes = platform::ReadWholeFile(files.IniPath())) profile.LoadText(*bytes);
        const tConfiguration config = ReadConfiguration(profile);
        std::string reason;
        if (!line->configure && config.Hardware != 0 && NeedsPortAccess(config.Hardware) &&
            !host.PortAccessAvailable(config.Model(), config.Port, &reason)) {
            tdGiveIO notice(QString::fromStdString(host.Card().GetCaps(config.Model()).DevName),
                            QString::fromStdString(reason));
            interaction.RunModal(notice);
            return 1;
        }
    }

    tMainOptions mainOptions;
    mainOptions.files = files;
    mainOptions.configureSwitch = line->configure;
    tdMain window(host, interaction, clock, mainOptions);
    if (!window.ReadConfiguration()) return 0;

    TSignalBridge bridge;
    QObject::connect(&bridge, &TSignalBridge::terminationRequested, &window, [&window](int) { window.EndSession(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.EndSession(); });
    QObject::connect(&guard, &TSingleInstance::showRequested, &window, [&window] { window.Do_Show(); });

    if (window.Config().StartMinimized) window.Do_Hide();
    else window.show();
    if (onShown) onShown(window);
    const int result = app.exec();
    if (trace) trace->Flush();
    return result;
}

} // namespace tunevox::app
