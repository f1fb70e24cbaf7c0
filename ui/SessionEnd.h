// Turns the end of the desktop session into one signal, EndRequested(): Qt's session
// manager asking the program to save its data (commitDataRequest), and the SIGTERM and
// SIGHUP signals, which a logging-out session or a service manager sends. The signal
// handlers only write a byte to a pipe; a QSocketNotifier reads it in the event loop, so
// everything that follows runs as an ordinary handler on the user-interface thread.
//
// One watcher at a time per process (the signal handlers share the pipe); the previous
// signal dispositions come back when it is destroyed. Throws std::runtime_error when the
// pipe cannot be made.
#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace selvane {

class TSessionEndWatcher : public QObject {
    Q_OBJECT

public:
    explicit TSessionEndWatcher(QObject* parent = nullptr);
    ~TSessionEndWatcher() override;

    TSessionEndWatcher(const TSessionEndWatcher&) = delete;
    TSessionEndWatcher& operator=(const TSessionEndWatcher&) = delete;

signals:
    void EndRequested();

private:
    void DrainPipe();

    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previousTerm_ {};
    struct sigaction previousHangUp_ {};
};

}  // namespace selvane
