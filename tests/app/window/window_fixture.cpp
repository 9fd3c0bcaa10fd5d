#include "app/window/window_fixture.h"

#include "app/dialogs/name_dialog.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
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
    host = std::make_unique<TRigCardHost>(*rig);
}

WindowRig::~WindowRig() {
    window.reset();
    host.reset();
}

bool WindowRig::Start(bool configureSwitch) {
    tMainOptions o;
    o.files.configDir = dir.path().toStdString();
    o.files.dataDir = dir.path().toStdString();
    o.configureSwitch = configureSwitch;
    o.useTray = false;
    window = std::make_unique<tdMain>(*host, ui, clock, o);
    const bool ok = window->ReadConfiguration();
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
