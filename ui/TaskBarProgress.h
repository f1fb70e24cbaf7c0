// A batch's progress on the desktop's task bar, for the desktops that read the launcher
// entry signal of the session bus (Unity, KDE Plasma, the docks that copied it). Where
// there is no session bus, or nothing listens, nothing is shown and nothing fails: no
// function here reports an error or prints one. Use from the user-interface thread.
#pragma once

#include <QString>

namespace selvane {

class TaskBarProgress {
public:
    // The entry is the application's menu entry (QGuiApplication::desktopFileName).
    TaskBarProgress();
    // Hides the progress if it still shows.
    ~TaskBarProgress();

    TaskBarProgress(const TaskBarProgress&) = delete;
    TaskBarProgress& operator=(const TaskBarProgress&) = delete;

    // fraction from 0 (nothing done) to 1 (all done).
    void Show(double fraction);
    void Hide();

private:
    // Connects on first use, so that a window that never runs a batch never touches the bus.
    bool Connected();
    void Send(const QVariantMap& properties);

    QString connectionName_;
    bool triedToConnect_ = false;
    bool connected_ = false;
    bool shown_ = false;
};

}  // namespace selvane
