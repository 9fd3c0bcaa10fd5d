#include "desktop/mpris_adaptors.h"

#include "desktop/mpris_service.h"

namespace tunevox::desktop {

TMprisRootAdaptor::TMprisRootAdaptor(TMprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

void TMprisRootAdaptor::Raise() { service_.Raise(); }
void TMprisRootAdaptor::Quit() { service_.Quit(); }

TMprisPlayerAdaptor::TMprisPlayerAdaptor(TMprisService& service)
    : QDBusAbstractAdaptor(&service), service_(service) {}

QString TMprisPlayerAdaptor::PlaybackStatus() const { return service_.Shown().status; }
QVariantMap TMprisPlayerAdaptor::Metadata() const { return service_.Metadata(service_.Shown()); }
double TMprisPlayerAdaptor::Volume() const { return service_.Shown().volume; }
void TMprisPlayerAdaptor::SetVolume(double volume) { service_.SetVolume(volume); }
bool TMprisPlayerAdaptor::CanGoNext() const { return service_.Shown().canStep; }
bool TMprisPlayerAdaptor::CanPlay() const { return service_.Shown().canPlay; }

void TMprisPlayerAdaptor::Next() { service_.Step(+1); }
void TMprisPlayerAdaptor::Previous() { service_.Step(-1); }
void TMprisPlayerAdaptor::Pause() { service_.Pause(); }
void TMprisPlayerAdaptor::PlayPause() { service_.PlayPause(); }
// There is nothing to stop a broadcast to but silence.
void TMprisPlayerAdaptor::Stop() { service_.Pause(); }
void TMprisPlayerAdaptor::Play() { service_.Play(); }

} // namespace tunevox::desktop
