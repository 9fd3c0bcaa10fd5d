#pragma once
// One running program per user and set of files. The first start listens on
// a local socket in the user's runtime folder; a second start with the same
// files asks it to show its window and ends. A socket left behind by a
// crash answers nobody and is replaced.

#include <QObject>
#include <QString>

class QLocalServer;

namespace tunevox::app {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // key: what makes two starts "the same program" (the configuration folder).
    explicit TSingleInstance(const QString& key, QObject* parent = nullptr);
    ~TSingleInstance() override;
    // true: this is the only copy and now listens. false: another copy runs
    // and has been handed `message` (a line: "show\n", or a command).
    bool Claim(const QByteArray& message = "show\n");
    QString SocketPath() const { return path_; }

signals:
    void showRequested();
    // Any other line a later start sent: a command for the radio.
    void commandReceived(const QString& line);

private:
    QString path_;
    QLocalServer* server_ = nullptr;
};

} // namespace tunevox::app
