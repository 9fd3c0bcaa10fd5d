#pragma once
// What the window benchmarks share: a configuration file in a folder of
// their own, and an interaction that answers nothing (no dialog ever opens
// during a measurement).

#include "app/window/services.h"

#include <QFile>
#include <QString>

namespace tunevox::bench {

inline void WriteIni(const QString& folder, const QByteArray& text) {
    QFile ini(folder + "/Tunevox.ini");
    if (ini.open(QIODevice::WriteOnly)) ini.write(text);
}

class SilentInteraction final : public app::IInteraction {
public:
    void Beep() override {}
    app::tMsgResult MessageBox(QWidget*, const QString&, const QString&, app::tMsgIcon, app::tMsgButtons) override {
        return app::tMsgResult::Ok;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    int RunModal(QDialog&) override { return 0; }
};

} // namespace tunevox::bench
