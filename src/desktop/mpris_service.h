#pragma once
// TMprisService: the running radio as a media player of the desktop, so its
// media keys, sound applet and lock screen can mute it, step through the
// favorites and show the station. It sits beside the main window as an
// observer of the radio set: the radio set decides, this only translates.
//
// What a player is to the desktop maps onto the radio like this: playing
// is heard, paused is muted, stopped is a card that is not open (Play,
// Pause and Stop only mute and unmute, as the mute command does); the next
// and previous track are the next and previous favorite the card can tune,
// in number order, wrapping; the track is the station, named as the
// window's title names it, its album the frequency. There is no position,
// rate, track list or seeking.
//
// Commands from the bus do nothing, and say nothing, while a long
// operation or a window opened from the main window has the radio set, as
// the keys and the tray do; Raise and Quit always go to the program, after
// the caller has had its reply.
//
// Lives on the radio set's thread, and must go before the radio set does.

#include "radioset/radio_set_view.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <string>

namespace tunevox::radioset {
class TRadioSet;
}

namespace tunevox::desktop {

class TMprisRootAdaptor;
class TMprisPlayerAdaptor;

class TMprisService final : public QObject, private radioset::IRadioSetView {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.tunevox";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    // raise: shows the main window in front, as a second start does.
    // quit: ends the program along its session-end path.
    // iconPath: the program's icon file, offered as the station's picture
    // (empty: none).
    TMprisService(radioset::TRadioSet& set, QDBusConnection connection, std::function<void()> raise,
                  std::function<void()> quit, QString iconPath, QObject* parent = nullptr);
    ~TMprisService() override;
    TMprisService(const TMprisService&) = delete;
    TMprisService& operator=(const TMprisService&) = delete;

    // Offers the player on the connection. false, quietly, when there is
    // no bus or another program holds the name: the radio runs on without.
    bool Register();
    bool Registered() const { return registered_; }

private:
    friend class TMprisRootAdaptor;
    friend class TMprisPlayerAdaptor;

    // What the desktop is shown and told of when it changes.
    struct tShown {
        QString status;
        int favorite = 0;
        QString title;
        QString album;
        double volume = 0.0;
        bool canStep = false;
        bool canPlay = false;
    };
    tShown Shown() const;
    QVariantMap Metadata(const tShown& shown) const;
    QString FrequencyText() const;
    // Whether a command from the bus may run now.
    bool Accepting() const;

    // The player's commands.
    void PlayPause();
    void Play();
    void Pause();
    void Step(int direction);
    void SetVolume(double volume);
    void Raise();
    void Quit();

    // Announces what changed once the radio set's notices of one change are
    // all in, so a tuning is one announcement and not three half ones.
    void Changed();
    void Announce();

    // IRadioSetView: the notices that can change what is shown.
    void ShowCard() override { Changed(); }
    void ShowBand(radio::tBand) override { Changed(); }
    void ShowFrequency(const radioset::tFrequencyShown&) override { Changed(); }
    void ShowTunedStatus(int) override {}
    void ShowStation(const radioset::tStationShown& station) override;
    void ShowFavorites() override { Changed(); }
    void ShowStep() override {}
    void ShowVolume() override { Changed(); }
    void ShowMute(bool) override { Changed(); }
    void ShowTime(const radioset::tTimeOfDay&) override {}
    void ShowAlarm(bool) override {}
    void ShowSleep(bool) override {}
    void ShowProgramming(bool) override {}
    void ShowStereoWanted(bool) override {}
    void ShowSeek(int) override { Changed(); }
    void ShowCommands(const radioset::tCommandStates&) override { Changed(); }
    void LongOperationEnded() override { Changed(); }
    void ReportProblem(const std::string&) override {}
    void CloseRequested() override {}

    radioset::TRadioSet& set_;
    QDBusConnection connection_;
    std::function<void()> raise_;
    std::function<void()> quit_;
    QString artUrl_;
    // The station as the radio set last named it.
    int stationFavorite_ = 0;
    std::string stationName_;
    bool registered_ = false;
    bool announcePending_ = false;
    tShown announced_;
};

} // namespace tunevox::desktop
