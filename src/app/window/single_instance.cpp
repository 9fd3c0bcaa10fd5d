#include "app/window/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace tunevox::app {

namespace {

QString RuntimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}

} // namespace

TSingleInstance::TSingleInstance(const QString& key, QObject* parent) : QObject(parent) {
    const QByteArray id = QCryptographicHash::hash(
        (QString::number(getuid()) + '\n' + QDir(key).absolutePath()).toUtf8(), QCryptographicHash::Sha1);
    path_ = RuntimeFolder() + "/tunevox-" + QString::fromLatin1(id.toHex().left(16)) + ".sock";
}

TSingleInstance::~TSingleInstance() {
    if (server_) server_->close();
}

bool TSingleInstance::Claim() {
    {
        QLocalSocket probe;
        probe.connectToServer(path_);
        if (probe.waitForConnected(500)) {
            probe.write("show\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return false;
        }
    }
    // Nobody answered: whatever lies there is left over from a crash.
    QLocalServer::removeServer(path_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path_)) {
        // Another copy won the race between the probe and the listen: let it
        // be the one, unless the socket simply cannot be made (then run
        // without the guard rather than not at all).
        QLocalSocket probe;
        probe.connectToServer(path_);
        if (probe.waitForConnected(500)) {
            probe.write("show\n");
            probe.waitForBytesWritten(500);
            return false;
        }
        return true;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().startsWith("show")) emit showRequested();
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace tunevox::app
