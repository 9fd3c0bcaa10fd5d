#include "desktop/mpris_service.h"

#include "desktop/mpris_adaptors.h"
#include "radio/radio_card.h"
#include "radioset/favorites.h"
#include "radioset/radio_set.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMetaObject>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace tunevox::desktop {

namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

TMprisService::TMprisService(radioset::TRadioSet& set, QDBusConnection connection, std::function<void()> raise,
                             std::function<void()> quit, QString iconPath, QObject* parent)
    : QObject(parent), set_(set), connection_(std::move(connection)), raise_(std::move(raise)),
      quit_(std::move(quit)) {
    if (!iconPath.isEmpty()) artUrl_ = QUrl::fromLocalFile(iconPath).toString(QUrl::FullyEncoded);
    // Made after the radio set named its station: named here by the same
    // rule until its next notice.
    stationFavorite_ = set_.CurrentFavorite();
    if (stationFavorite_) stationName_ = set_.Favorites()[stationFavorite_].Name;
    if (stationName_.empty()) stationName_ = set_.Card().RdsStationName();
    new TMprisRootAdaptor(*this);
    new TMprisPlayerAdaptor(*this);
    set_.AddObserver(this);
}

TMprisService::~TMprisService() {
    set_.RemoveObserver(this);
    if (registered_) {
        connection_.unregisterService(QString::fromLatin1(kServiceName));
        connection_.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

bool TMprisService::Register() {
    if (registered_) return true;
    if (!connection_.isConnected()) return false;
    // The object first, so whoever sees the name appear finds it.
    if (!connection_.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors))
        return false;
    if (!connection_.registerService(QString::fromLatin1(kServiceName))) {
        connection_.unregisterObject(QString::fromLatin1(kObjectPath));
        return false;
    }
    registered_ = true;
    announced_ = Shown();
    return true;
}

QString TMprisService::FrequencyText() const {
    const radio::TRadioCard& card = set_.Card();
    std::string caption = set_.FrequencyCaption(card.Frequency(), card.Band());
    // The window's "100. MHz" marks the readout's point; a desktop's
    // applet shows prose, "100 MHz".
    const size_t space = caption.find(' ');
    if (space != std::string::npos && space > 0 && caption[space - 1] == set_.Separator()) caption.erase(space - 1, 1);
    return QString::fromStdString(caption);
}

TMprisService::tShown TMprisService::Shown() const {
    const radio::TRadioCard& card = set_.Card();
    tShown s;
    const bool muted = set_.MuteState();
    s.status = !card.Active() ? QStringLiteral("Stopped") : muted ? QStringLiteral("Paused") : QStringLiteral("Playing");
    s.favorite = stationFavorite_;
    s.album = FrequencyText();
    s.title = stationName_.empty() ? s.album : QString::fromStdString(stationName_);
    // Without a volume of its own the radio is either fully heard or not.
    if (card.MaxVolume() > 0) s.volume = std::clamp(static_cast<double>(card.Volume()) / card.MaxVolume(), 0.0, 1.0);
    else s.volume = muted ? 0.0 : 1.0;
    for (int n = 1; n <= radioset::kFavoriteCount && !s.canStep; ++n) s.canStep = set_.FavoriteReceivable(n);
    s.canPlay = card.Active() && card.Caps().HasMute;
    return s;
}

QVariantMap TMprisService::Metadata(const tShown& shown) const {
    QVariantMap m;
    const QString track = shown.favorite ? QStringLiteral("/org/tunevox/Favorite/%1").arg(shown.favorite)
                                         : QStringLiteral("/org/tunevox/Station");
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(track)));
    m.insert(QStringLiteral("xesam:title"), shown.title);
    m.insert(QStringLiteral("xesam:album"), shown.album);
    if (!artUrl_.isEmpty()) m.insert(QStringLiteral("mpris:artUrl"), artUrl_);
    return m;
}

bool TMprisService::Accepting() const {
    // A seek or a sweep has the card, and a window opened from the main
    // window (the scanner, the organizer) may be driving it itself.
    return !set_.Busy() && !set_.ModalOpen();
}

void TMprisService::PlayPause() {
    if (Accepting()) set_.ToggleMute();
}

void TMprisService::Play() {
    if (Accepting() && set_.MuteState()) set_.ToggleMute();
}

void TMprisService::Pause() {
    if (Accepting() && !set_.MuteState()) set_.ToggleMute();
}

void TMprisService::Step(int direction) {
    if (!Accepting()) return;
    // From the current favorite, or from just outside the end of the bank
    // the step enters from.
    const int count = radioset::kFavoriteCount;
    int n = set_.CurrentFavorite();
    if (n == 0) n = direction > 0 ? 0 : count + 1;
    for (int i = 0; i < count; ++i) {
        n += direction;
        if (n > count) n = 1;
        if (n < 1) n = count;
        // Only favorites the card can tune: another would take the radio to
        // a band's edge instead.
        if (set_.FavoriteReceivable(n)) {
            set_.RecallFavorite(n);
            return;
        }
    }
}

void TMprisService::SetVolume(double volume) {
    const int max = set_.Card().MaxVolume();
    if (!Accepting() || max <= 0 || !std::isfinite(volume)) return;
    set_.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * max)));
}

// The caller gets its reply first: what these start may take a while, or
// end the program.
void TMprisService::Raise() {
    if (raise_) QMetaObject::invokeMethod(this, raise_, Qt::QueuedConnection);
}

void TMprisService::Quit() {
    if (quit_) QMetaObject::invokeMethod(this, quit_, Qt::QueuedConnection);
}

void TMprisService::ShowStation(const radioset::tStationShown& station) {
    stationFavorite_ = station.favorite;
    stationName_ = station.name;
    Changed();
}

void TMprisService::Changed() {
    if (!registered_ || announcePending_) return;
    announcePending_ = true;
    QMetaObject::invokeMethod(this, [this] { Announce(); }, Qt::QueuedConnection);
}

void TMprisService::Announce() {
    announcePending_ = false;
    const tShown now = Shown();
    QVariantMap changed;
    if (now.status != announced_.status) changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (now.favorite != announced_.favorite || now.title != announced_.title || now.album != announced_.album)
        changed.insert(QStringLiteral("Metadata"), Metadata(now));
    if (now.volume != announced_.volume) changed.insert(QStringLiteral("Volume"), now.volume);
    if (now.canStep != announced_.canStep) {
        changed.insert(QStringLiteral("CanGoNext"), now.canStep);
        changed.insert(QStringLiteral("CanGoPrevious"), now.canStep);
    }
    if (now.canPlay != announced_.canPlay) {
        changed.insert(QStringLiteral("CanPlay"), now.canPlay);
        changed.insert(QStringLiteral("CanPause"), now.canPlay);
    }
    announced_ = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    connection_.send(signal);
}

} // namespace tunevox::desktop
