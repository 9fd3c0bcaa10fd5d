#pragma once
// The clock on the panel shows the time as the user's desktop writes it,
// with seconds, but without the time zone that the locale's long format
// adds ("08:14:26 UTC"): a radio's clock shows the time of the room.

#include <QLocale>
#include <QString>

namespace tunevox::app {

// A time format without its time-zone fields ('t' and its longer forms
// outside quotes) and the blanks they leave:
//   "HH:mm:ss t" -> "HH:mm:ss";  "h:mm:ss AP t" -> "h:mm:ss AP";
//   "t HH:mm:ss" -> "HH:mm:ss";  "HH 'h' mm" stays as it is.
QString TimeFormatWithoutZone(const QString& format);

// The clock's format in `locale`: its long time format without the zone.
QString ClockFormat(const QLocale& locale);

} // namespace tunevox::app
