#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a terminal)
// reach the event loop as a Qt signal, so the program ends the way a
// session end does: the card closed, the configuration saved.

#include <QObject>

class QSocketNotifier;

namespace tunevox::app {

class TSignalBridge : public QObject {
    Q_OBJECT
public:
    explicit TSignalBridge(QObject* parent = nullptr);
    ~TSignalBridge() override;

signals:
    void terminationRequested(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tunevox::app
