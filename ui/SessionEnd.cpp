#include "ui/SessionEnd.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace selvane {

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a pending request; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

TSessionEndWatcher::TSessionEndWatcher(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0) throw std::logic_error("a session end watcher exists already");
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot create the signal pipe");

    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        DrainPipe();
        emit EndRequested();
    });
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &TSessionEndWatcher::EndRequested);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &previousTerm_);
    sigaction(SIGHUP, &action, &previousHangUp_);
}

TSessionEndWatcher::~TSessionEndWatcher()
{
    sigaction(SIGTERM, &previousTerm_, nullptr);
    sigaction(SIGHUP, &previousHangUp_, nullptr);
    delete notifier_;
    close(g_pipe[0]);
    close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TSessionEndWatcher::DrainPipe()
{
    char buffer[64];
    while (read(g_pipe[0], buffer, sizeof buffer) > 0) {}
}

}  // namespace selvane
