#include "app/window/window_fixture.h"

#include "app/dialogs/name_dialog.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>

namespace tunevox::app::test {

rig::tRigOptions WindowRig::Emulated() {
    rig::tRigOptions o;
    o.emulated = true;
    o.waits = rig::tWaits::kVirtual;
    return o;
}

WindowRig::WindowRig(const std::string& ini, rig::tRigOptions options) {
    if (!ini.empty()) {
        QFile f(QString::fromStdString(IniPath()));
        f.open(QIODevice::WriteOnly);
        f.write(ini.c_str());
    }
    rig = std::make_unique<rig::THardwareRig>(std::move(options));
    host = std::make_unique<radioset::TRigCardHost>(*rig);
}

WindowRig::~WindowRig() {
    window.reset();
    set.reset();
    host.reset();
}

void WindowRig::Build(bool configureSwitch) {
    radioset::tRadioSetOptions so;
    so.files.configDir = dir.path().toStdString();
    so.files.dataDir = dir.path().toStdString();
    so.remedies = {"tunevox", "start Tunevox with --virtual", "choose the other port in the settings",
                   "choose another port in the settings"};
    set = std::make_unique<radioset::TRadioSet>(*host, clock, timers, so);
    tMainOptions o;
    o.configureSwitch = configureSwitch;
    o.useTray = false;
    window = std::make_unique<tdMain>(*set, ui, o);
}

bool WindowRig::Start(bool configureSwitch) {
    if (!window) Build(configureSwitch);
    set->LoadConfiguration();
    const bool ok = window->Start();
    DrainEvents();
    return ok;
}

std::string WindowRig::IniPath() const { return (dir.path() + "/Tunevox.ini").toStdString(); }

std::string WindowRig::ReadIni() const {
    QFile f(QString::fromStdString(IniPath()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

void WindowRig::DrainEvents() {
    if (auto* q = rig->OwnEvents()) q->Drain();
}

bool WindowRig::RunOne() {
    auto* q = rig->OwnEvents();
    return q && q->RunOne();
}

void WindowRig::Screenshot(const QString& name) { tunevox::test::Screenshot(*window, name); }

std::function<int(QDialog&)> AnswerName(const QString& name) {
    return [name](QDialog& d) {
        auto& dialog = dynamic_cast<TNameDialog&>(d);
        dialog.sName->setText(name);
        return int(QDialog::Accepted);
    };
}

std::function<int(QDialog&)> CancelDialog() {
    return [](QDialog&) { return int(QDialog::Rejected); };
}

} // namespace tunevox::app::test
