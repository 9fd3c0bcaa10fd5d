#include "app/window/clock_format.h"

namespace tunevox::app {

QString TimeFormatWithoutZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == '\'') quoted = !quoted;
        if (!quoted && c == 't') {
            // The zone field and the blanks before it; a zone in front loses
            // the blanks after it instead.
            while (!out.isEmpty() && out.back() == ' ') out.chop(1);
            while (i + 1 < format.size() && format.at(i + 1) == 't') ++i;
            if (out.isEmpty())
                while (i + 1 < format.size() && format.at(i + 1) == ' ') ++i;
            continue;
        }
        out += c;
    }
    return out;
}

QString ClockFormat(const QLocale& locale) { return TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)); }

} // namespace tunevox::app
