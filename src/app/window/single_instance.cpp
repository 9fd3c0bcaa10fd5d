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

// Hands the message over and waits, a little, for the running copy to
// say it has it: a later start that ends at once must not end before its
// command was read (a launcher may stop the radio right after).
void Hand(QLocalSocket& socket, const QByteArray& message) {
    socket.write(message);
    socket.waitForBytesWritten(500);
    socket.waitForReadyRead(1000);
    socket.disconnectFromServer();
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

bool TSingleInstance::Claim(const QByteArray& message) {
    {
        QLocalSocket probe;
        probe.connectToServer(path_);
        if (probe.waitForConnected(500)) {
            Hand(probe, message);
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
            Hand(probe, message);
            return false;
        }
        return true;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            // One line a start; a sender that writes more, or never ends its
            // line, is cut off rather than read without end.
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (!s->canReadLine() && s->bytesAvailable() < 256) return;
                const QString line = QString::fromUtf8(s->readLine(256)).trimmed();
                if (line == "show") emit showRequested();
                else if (!line.isEmpty()) emit commandReceived(line);
                s->write("ok\n");
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace tunevox::app
