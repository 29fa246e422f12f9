#pragma once

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the thread that
// created the object. The handler itself only writes the signal number to
// one end of a socket pair (async-signal-safe); a socket notifier reads the
// other end in the event loop. One instance per process.

#include <QObject>

class QSocketNotifier;

namespace session {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the socket pair or a handler could not be set up.
    bool isInstalled() const { return installed_; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

}  // namespace session
