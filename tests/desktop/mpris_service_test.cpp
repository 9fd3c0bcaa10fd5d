// The radio as the desktop's media player, seen from a client on a private
// bus started for this test program: what it shows, what its commands do
// to the radio set, and what it announces when the window changes things.

#include "desktop/mpris_service.h"

#include "radio/radio_card.h"
#include "radioset/radio_set_fixture.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <deque>
#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace tunevox::desktop {

const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kIcon = QStringLiteral("/usr/share/icons/hicolor/scalable/apps/tunevox.svg");
constexpr int kReplyMs = 5000;

// One bus for the program, with a connection for the service and one for
// the client, as the program and the desktop would have.
class PrivateBus : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QCoreApplication::instance()) app_ = std::make_unique<QCoreApplication>(argc_, argv_);
        const QString exe = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (exe.isEmpty()) return;
        daemon_.start(exe, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QByteArray line;
        while (!line.contains('\n') && daemon_.waitForReadyRead(kReplyMs)) line += daemon_.readAllStandardOutput();
        const QString address = QString::fromUtf8(line).trimmed();
        if (address.isEmpty()) return;
        service = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, QStringLiteral("svc")));
        client = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, QStringLiteral("cli")));
    }
    void TearDown() override {
        service.reset();
        client.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("svc"));
        QDBusConnection::disconnectFromBus(QStringLiteral("cli"));
        daemon_.terminate();
        if (!daemon_.waitForFinished(kReplyMs)) daemon_.kill();
        app_.reset();
    }
    bool Up() const { return service && service->isConnected() && client && client->isConnected(); }
    std::unique_ptr<QDBusConnection> service, client;

private:
    int argc_ = 1;
    char name_[16] = "desktop_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
    QProcess daemon_;
};
PrivateBus* const gBus = static_cast<PrivateBus*>(::testing::AddGlobalTestEnvironment(new PrivateBus));

// Values as a client reads them: maps and lists out of their wire form.
QVariant Plain(const QVariant& v) {
    if (v.userType() == qMetaTypeId<QDBusVariant>()) return Plain(v.value<QDBusVariant>().variant());
    QVariantMap map = v.toMap();
    if (v.userType() == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument arg = v.value<QDBusArgument>();
        if (arg.currentSignature() == QLatin1String("as")) return qdbus_cast<QStringList>(arg);
        map = qdbus_cast<QVariantMap>(arg);
    } else if (v.userType() != QMetaType::QVariantMap) {
        return v;
    }
    for (QVariant& value : map) value = Plain(value);
    return map;
}

QString TrackOf(const QVariant& metadata) {
    return metadata.toMap().value("mpris:trackid").value<QDBusObjectPath>().path();
}

// Keeps every announcement of the player the client hears.
class ChangeRecorder : public QObject {
    Q_OBJECT
public:
    std::deque<QVariantMap> changes;
    QEventLoop* waiting = nullptr;
public Q_SLOTS:
    void Changed(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer) changes.push_back(Plain(changed).toMap());
        if (waiting) waiting->quit();
    }
};

class Mpris : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gBus->Up()) GTEST_SKIP() << "no dbus-daemon to start a private bus (Debian: dbus-daemon)";
        gBus->client->connect({}, TMprisService::kObjectPath, kProperties, "PropertiesChanged", &recorder,
                              SLOT(Changed(QString, QVariantMap, QStringList)));
    }
    void TearDown() override {
        service.reset();
        if (gBus->Up())
            gBus->client->disconnect({}, TMprisService::kObjectPath, kProperties, "PropertiesChanged", &recorder,
                                     SLOT(Changed(QString, QVariantMap, QStringList)));
    }

    // A started radio set and the service on it; what an earlier service
    // still had on its way arrives before the first reply and is dropped.
    void Open(const std::string& ini) {
        service.reset();
        rig = std::make_unique<radioset::test::RadioSetRig>(ini);
        rig->Start();
        service = std::make_unique<TMprisService>(rig->Set(), *gBus->service, [this] { ++raised; },
                                                  [this] { ++quits; }, kIcon);
        ASSERT_TRUE(service->Register());
        GetAll(kRoot);
        recorder.changes.clear();
    }
    // The service answers on this thread: the reply is awaited in an event
    // loop, never blocked for.
    QDBusMessage Call(const QString& interface, const QString& method, const QVariantList& args = {}) {
        QDBusMessage m = QDBusMessage::createMethodCall(TMprisService::kServiceName, TMprisService::kObjectPath,
                                                        interface, method);
        m.setArguments(args);
        QDBusPendingCallWatcher watcher(gBus->client->asyncCall(m, kReplyMs));
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        if (!watcher.isFinished()) loop.exec();
        QCoreApplication::processEvents();
        EXPECT_EQ(watcher.reply().type(), QDBusMessage::ReplyMessage) << watcher.reply().errorMessage().toStdString();
        return watcher.reply();
    }
    void Player(const char* method) { Call(kPlayer, method); }
    QVariantMap GetAll(const QString& interface) {
        return Plain(Call(kProperties, "GetAll", {interface}).arguments().value(0)).toMap();
    }
    void SetVolume(double v) { Call(kProperties, "Set", {kPlayer, "Volume", QVariant::fromValue(QDBusVariant(v))}); }
    QVariantMap NextChange() {
        QEventLoop loop;
        recorder.waiting = &loop;
        QTimer::singleShot(kReplyMs, &loop, &QEventLoop::quit);
        if (recorder.changes.empty()) loop.exec();
        recorder.waiting = nullptr;
        if (recorder.changes.empty()) return {{"nothing", "announced"}};
        QVariantMap c = recorder.changes.front();
        recorder.changes.pop_front();
        return c;
    }
    radioset::TRadioSet& Set() { return rig->Set(); }

    ChangeRecorder recorder;
    std::unique_ptr<radioset::test::RadioSetRig> rig;
    std::unique_ptr<TMprisService> service;
    int raised = 0, quits = 0;
};

TEST_F(Mpris, ShowsTheRadioAndFollowsMuteFromTheBusAndFromTheWindow) {
    Open("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n[Frequency]\nFrequency=M 098.700\n"
         "[Presets]\nCurrent=4\nList=4,7,\nStation04=M 098.700 Radio One\nStation07=M 100.000 Jazz\n");
    EXPECT_EQ(GetAll(kRoot), (QVariantMap{{"Identity", "Tunevox"}, {"DesktopEntry", "io.github.tunevox.Tunevox"}, {"CanRaise", true},
                                          {"CanQuit", true}, {"CanSetFullscreen", false}, {"HasTrackList", false},
                                          {"SupportedUriSchemes", QStringList()}, {"SupportedMimeTypes", QStringList()}}));
    const QVariantMap metadata{{"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/org/tunevox/Favorite/4"))},
                               {"xesam:title", "Radio One"}, {"xesam:album", "98.7 MHz"},
                               {"mpris:artUrl", "file://" + kIcon}};
    EXPECT_EQ(GetAll(kPlayer),
              (QVariantMap{{"PlaybackStatus", "Playing"}, {"Metadata", metadata}, {"Volume", 0.5}, {"Position", 0LL},
                           {"Rate", 1.0}, {"MinimumRate", 1.0}, {"MaximumRate", 1.0}, {"CanGoNext", true},
                           {"CanGoPrevious", true}, {"CanPlay", true}, {"CanPause", true}, {"CanSeek", false},
                           {"CanControl", true}}));

    // Only what changed is announced.
    Player("PlayPause");
    EXPECT_FALSE(rig->rig->EmulatedReceiver()->audioOn);
    EXPECT_EQ(NextChange(), (QVariantMap{{"PlaybackStatus", "Paused"}}));
    Player("Play");
    EXPECT_EQ(NextChange(), (QVariantMap{{"PlaybackStatus", "Playing"}}));
    Player("Play");
    EXPECT_FALSE(Set().MuteState()) << "Play leaves a playing radio playing";
    // The window's mute reaches the desktop; Pause and Stop leave it muted.
    Set().ToggleMute();
    EXPECT_EQ(NextChange(), (QVariantMap{{"PlaybackStatus", "Paused"}}));
    Player("Pause");
    Player("Stop");
    EXPECT_TRUE(Set().MuteState());
    Player("PlayPause");
    EXPECT_EQ(NextChange(), (QVariantMap{{"PlaybackStatus", "Playing"}}));

    Call(kRoot, "Raise");
    Call(kRoot, "Quit");
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(Mpris, NextAndPreviousStepThroughTheFavoritesTheCardCanTuneAndWrap) {
    // 7 is an AM station this FM-only card cannot tune.
    Open("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 095.000\n[Presets]\nList=2,5,7,9,\n"
         "Station02=M 090.000 Two\nStation05=M 101.900 Five\nStation07=K 000.693 Talk\nStation09=M 104.250 Nine\n");
    const QVariantMap metadata = GetAll(kPlayer).value("Metadata").toMap();
    EXPECT_EQ(TrackOf(metadata), "/org/tunevox/Station");
    EXPECT_EQ(metadata.value("xesam:title"), "95 MHz") << "no name: the frequency";

    const std::pair<const char*, int> steps[] = {{"Previous", 9}, {"Next", 2}, {"Next", 5},
                                                 {"Next", 9},     {"Next", 2}, {"Previous", 9}};
    for (const auto& [method, favorite] : steps) {
        SCOPED_TRACE(std::string(method) + " to " + std::to_string(favorite));
        Player(method);
        EXPECT_EQ(Set().CurrentFavorite(), favorite);
        EXPECT_EQ(TrackOf(NextChange().value("Metadata")), QStringLiteral("/org/tunevox/Favorite/%1").arg(favorite));
    }
    EXPECT_EQ(GetAll(kPlayer).value("Metadata").toMap().value("xesam:album"), "104.25 MHz");

    Set().ClearAllFavorites();
    const QVariantMap change = NextChange();
    EXPECT_EQ(change.value("CanGoNext"), false);
    EXPECT_EQ(change.value("CanGoPrevious"), false);
    EXPECT_EQ(TrackOf(change.value("Metadata")), "/org/tunevox/Station");
    Player("Next");
    EXPECT_EQ(Set().CurrentFavorite(), 0);
}

TEST_F(Mpris, VolumeIsTheCardsScaleOrAllOrNothingWhereTheCardHasNone) {
    Open("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n");
    SetVolume(0.25);
    EXPECT_EQ(rig->Card().Volume(), 64);
    EXPECT_EQ(NextChange(), (QVariantMap{{"Volume", 0.25}}));
    Set().VolumeUp();
    EXPECT_EQ(NextChange(), (QVariantMap{{"Volume", 80.0 / 256}}));

    // A serial radio: a mute but no volume; its AM favorite has no name.
    Open("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=K 000.531\n"
         "[Presets]\nCurrent=2\nList=2,\nStation02=K 000.531\n");
    ASSERT_EQ(rig->Card().MaxVolume(), 0);
    SetVolume(0.3);
    const QVariantMap player = GetAll(kPlayer);
    EXPECT_EQ(player.value("Volume"), 1.0);
    EXPECT_EQ(player.value("Metadata").toMap().value("xesam:title"), "531 kHz");
    EXPECT_EQ(player.value("Metadata").toMap().value("xesam:album"), "531 kHz");
    Player("PlayPause");
    EXPECT_EQ(NextChange(), (QVariantMap{{"PlaybackStatus", "Paused"}, {"Volume", 0.0}}));
}

TEST_F(Mpris, CommandsWaitForASeekOrAWindowAndTheNameIsHeldWhileTheServiceLives) {
    Open("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
         "[Frequency]\nFrequency=M 095.000\n[Presets]\nList=2,\nStation02=M 090.000 Two\n");
    Set().Seek(+1);
    ASSERT_TRUE(Set().Busy());
    for (const char* method : {"PlayPause", "Stop", "Next", "Previous"}) Player(method);
    SetVolume(0.1);
    EXPECT_FALSE(Set().MuteState());
    EXPECT_EQ(Set().CurrentFavorite(), 0);
    EXPECT_EQ(rig->Card().Volume(), 128);
    rig->Drain();
    Set().BeginDialog();
    Player("PlayPause");
    EXPECT_FALSE(Set().MuteState()) << "a window of the main window's own has the radio";
    Set().EndDialog();
    Player("PlayPause");
    EXPECT_TRUE(Set().MuteState());

    // Without a bus, or with the name held elsewhere, Register fails quietly.
    static int messages = 0;
    const QtMessageHandler before = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {
        ++messages;
    });
    TMprisService second(Set(), *gBus->client, {}, {}, {});
    EXPECT_FALSE(second.Register());
    EXPECT_FALSE(TMprisService(Set(), QDBusConnection("none"), {}, {}, {}).Register());
    qInstallMessageHandler(before);
    EXPECT_EQ(messages, 0);

    QDBusConnectionInterface* bus = gBus->client->interface();
    EXPECT_TRUE(bus->isServiceRegistered(TMprisService::kServiceName).value());
    service.reset();
    EXPECT_FALSE(bus->isServiceRegistered(TMprisService::kServiceName).value()) << "released with the service";
    EXPECT_TRUE(second.Register());
}

} // namespace tunevox::desktop

#include "mpris_service_test.moc"
