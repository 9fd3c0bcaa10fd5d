#include "app/window/program.h"

#include "app/dialogs/port_access_dialog.h"
#include "app/window/main_window.h"
#include "app/window/qt_seams.h"
#include "app/window/signal_bridge.h"
#include "app/window/single_instance.h"
#include "desktop/mpris_service.h"
#include "display/pictures.h"
#include "platform/port_io.h"
#include "platform/tone.h"
#include "platform/trace.h"
#include "radio/radio_card.h"
#include "radioset/card_setup.h"
#include "radioset/file_locations.h"
#include "radioset/radio_set.h"
#include "radioset/rig_card_host.h"
#include "rig/hardware_rig.h"
#include "widgets/qt_interaction.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QLocale>
#include <QSessionManager>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

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
    const QCommandLineOption tune("tune", "Tune the running radio to FREQ: MHz on FM (98.7), kHz on AM (1215).",
                                  "FREQ");
    const QCommandLineOption preset("preset", "Switch the running radio to favorite N (1 to 100).", "N");
    const QCommandLineOption mute("mute", "Mute the running radio.");
    const QCommandLineOption unmute("unmute", "Unmute the running radio.");
    const QCommandLineOption next("next", "Switch the running radio to the next favorite.");
    const QCommandLineOption previous("previous", "Switch the running radio to the previous favorite.");
    parser.addOptions({virt, stations, dir, configure, tune, preset, mute, unmute, next, previous});
    parser.addPositionalArgument("\\CONFIGURE", "The same as --configure, in any letter case.", "[\\CONFIGURE]");

    *exitCode = 0;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "tunevox: %s\n", qPrintable(parser.errorText()));
        *exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        // Read before any application object exists, so the parser cannot
        // name the program itself.
        std::fputs(qPrintable(parser.helpText().replace("<executable_name>", "tunevox")), stdout);
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
    // One command a start: a launcher or a key gives one.
    int commands = 0;
    std::string error;
    if (parser.isSet(tune)) {
        ++commands;
        line.command = ParseTuneValue(parser.value(tune).toStdString(), &error);
    }
    if (parser.isSet(preset)) {
        ++commands;
        line.command = ParsePresetValue(parser.value(preset).toStdString(), &error);
    }
    const std::pair<const QCommandLineOption*, tRemoteCommand::tKind> plain[] = {
        {&mute, tRemoteCommand::Mute}, {&unmute, tRemoteCommand::Unmute},
        {&next, tRemoteCommand::Next}, {&previous, tRemoteCommand::Previous}};
    for (const auto& [option, kind] : plain) {
        if (!parser.isSet(*option)) continue;
        ++commands;
        line.command = tRemoteCommand{kind};
    }
    if (!error.empty() || commands > 1) {
        if (error.empty()) error = "give one of --tune, --preset, --mute, --unmute, --next, --previous at a time";
        std::fprintf(stderr, "tunevox: %s\n", error.c_str());
        *exitCode = 2;
        return std::nullopt;
    }
    if (!line.stationsFile.isEmpty() && !line.virtualHardware) {
        std::fprintf(stderr, "tunevox: --stations needs --virtual\n");
        *exitCode = 2;
        return std::nullopt;
    }
    return line;
}

namespace {

// Until the application object stands, Qt's own start-up messages are held
// back: without a display it writes several lines and aborts, where the
// user needs one line that says what is wrong, and a plain exit.
bool startingUp = false;
QString firstCause; // the first thing the platform plugin said went wrong

void StartUpMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!startingUp) {
        qt_message_output(type, context, message);
        return;
    }
    // "could not connect to display :1" names the cause; the fatal line
    // after it only suggests reinstalling.
    if (type == QtWarningMsg && firstCause.isEmpty()) firstCause = message.section('\n', 0, 0);
    if (type != QtFatalMsg) return;
    const QString cause = firstCause.isEmpty() ? message.section('\n', 0, 0) : firstCause;
    std::fprintf(stderr, "tunevox: cannot show a window: %s\n", qPrintable(cause));
    std::_Exit(1);
}

// Without any display to reach (no X server, no Wayland compositor named,
// no platform chosen) there is nothing to try.
bool NoDisplayNamed() {
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QStringList Arguments(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
    return list;
}

} // namespace

int RunTunevox(int argc, char** argv, const tRunHooks& hooks) {
    // The command line first: --help and --version answer anywhere, with or
    // without a display.
    int exitCode = 0;
    const auto line = ParseCommandLine(Arguments(argc, argv), &exitCode);
    if (!line) return exitCode;
    if (NoDisplayNamed()) {
        std::fprintf(stderr, "tunevox: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not "
                             "set); tunevox-cli drives the radio without one\n");
        return 1;
    }

    startingUp = true;
    const QtMessageHandler previous = qInstallMessageHandler(StartUpMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    startingUp = false;
    QApplication::setApplicationName("Tunevox");
    QApplication::setApplicationVersion(TUNEVOX_VERSION);
    // The desktop entry's name: desktops match windows, media controls and
    // the software centre's entry by it.
    QApplication::setDesktopFileName("io.github.tunevox.Tunevox");
    QApplication::setWindowIcon(display::AppIcon(false));
    // Closing the last dialog (the settings at first run, a message box)
    // must not end the program: the main window decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);

    radioset::tLocationInputs in;
    in.exeDir = QApplication::applicationDirPath().toStdString();
    in.dirOverride = line->dir.toStdString();
    in.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    in.home = qEnvironmentVariable("HOME").toStdString();
    const radioset::tFileLocations files = radioset::ResolveFileLocations(in);

    // Termination signals are caught from here on; they are answered once
    // the window is up (a session that ends while the radio starts still
    // gets its configuration saved).
    TSignalBridge bridge;

    TSingleInstance guard(QString::fromStdString(files.configDir));
    // The running copy shows itself, or carries out the command.
    const std::string message = FormatRemoteCommand(line->command.value_or(tRemoteCommand{})) + "\n";
    if (!guard.Claim(QByteArray::fromStdString(message))) return 0;

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
    if (hooks.prepareRig) hooks.prepareRig(options);

    std::unique_ptr<rig::THardwareRig> rig;
    try {
        rig = std::make_unique<rig::THardwareRig>(std::move(options));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tunevox: %s\n", e.what());
        return 1;
    }
    radioset::TRigCardHost host(*rig);
    TSoundWatcher soundWatcher(*rig);
    widgets::QtInteraction interaction;
    TSystemClock clock;
    TQtTimerFactory timers;

    // A script's beeps sound on the sound card; without one, the desktop's
    // bell rings, on the window's thread as it must.
    const std::unique_ptr<platform::ITone> tone = platform::MakeAlsaTone(
        [] { QMetaObject::invokeMethod(qApp, &QApplication::beep, Qt::QueuedConnection); });

    radioset::tRadioSetOptions setOptions;
    setOptions.files = files;
    setOptions.tone = tone.get();
    const QString point = QLocale().decimalPoint();
    setOptions.separator = point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
    setOptions.remedies = {QApplication::applicationFilePath().toStdString(), "start Tunevox with --virtual",
                           "choose the other port in the settings",
                           "choose another port in the settings, or name its device file in the [ComPorts] "
                           "section of Tunevox.ini"};
    radioset::TRadioSet set(host, clock, timers, setOptions);
    set.LoadConfiguration();

    // Port access is checked before any window: an I/O-port card that the
    // process cannot reach would only ever show "?????".
    {
        const radioset::tConfiguration& config = set.Config();
        const radio::tDevCap caps = host.Card().GetCaps(config.Model());
        platform::tPortAccessError why;
        if (!line->configure && config.Hardware != 0 && radioset::NeedsPortAccess(caps) &&
            !host.PortAccessAvailable(config.Model(), config.Port, &why)) {
            const int port = radioset::EffectivePort(caps, config.Port);
            const std::string problem =
                radioset::PortAccessMessage(caps.Ports[port], caps.PortSpan, why, setOptions.remedies);
            tdGiveIO notice(QString::fromStdString(caps.DevMaker + " " + caps.DevName),
                            QString::fromStdString(problem));
            interaction.RunModal(notice);
            return 1;
        }
    }

    // Commands handed over by later starts wait until the window is up (the
    // first-run settings may still be open).
    tdMain* running = nullptr;
    std::vector<tRemoteCommand> waiting;
    QObject::connect(&guard, &TSingleInstance::commandReceived, &app, [&](const QString& text) {
        const auto command = ParseRemoteCommand(text.toStdString());
        if (!command) return;
        if (running) running->RunRemoteCommand(*command);
        else waiting.push_back(*command);
    });

    tMainOptions mainOptions;
    mainOptions.configureSwitch = line->configure;
    tdMain window(set, interaction, mainOptions);
    if (!window.Start()) return 0;

    QObject::connect(&bridge, &TSignalBridge::terminationRequested, &window, [&window](int) { window.EndSession(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.EndSession(); });
    QObject::connect(&guard, &TSingleInstance::showRequested, &window, [&window] { window.Do_Show(); });

    // The radio among the desktop's media players (its media keys and sound
    // menu); without a session bus it runs as before.
    desktop::TMprisService mpris(
        set, QDBusConnection::sessionBus(), [&window] { window.Do_Show(); }, [&window] { window.EndSession(); },
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "icons/hicolor/scalable/apps/tunevox.svg"));
    mpris.Register();

    if (set.Config().StartMinimized) window.Do_Hide();
    else window.show();
    if (hooks.onShown) hooks.onShown(window);
    // A command given to this start, and those handed over meanwhile, once
    // the radio plays.
    running = &window;
    if (line->command) window.RunRemoteCommand(*line->command);
    for (const tRemoteCommand& command : waiting) window.RunRemoteCommand(command);
    waiting.clear();
    const int result = app.exec();
    if (trace) trace->Flush();
    return result;
}

} // namespace tunevox::app
