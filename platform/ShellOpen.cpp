#include "platform/ShellOpen.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace selvane::platform {

namespace {

// The first executable "name" on PATH, found before forking because the child may only
// make async-signal-safe calls.
std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        auto end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

void WriteAll(int descriptor, const void* data, std::size_t size)
{
    while (write(descriptor, data, size) < 0 && errno == EINTR) {}
}

// In the grandchild: standard streams, signal state, then the program. Reports the reason
// of a failed exec through the pipe.
[[noreturn]] void ExecInGrandchild(const char* program, char* const arguments[], int nullDevice, int report)
{
    dup2(nullDevice, STDIN_FILENO);
    dup2(nullDevice, STDOUT_FILENO);
    // Dispositions set to "ignore" and blocked signals survive exec; the opened program
    // should start with the defaults.
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &defaults, nullptr);
    sigaction(SIGCHLD, &defaults, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Descriptors this process left inheritable (sockets, files) are no business of the
    // opened program. Failure (an old kernel) only means they are inherited as before.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    execv(program, arguments);
    const int error = errno;
    WriteAll(report, &error, sizeof error);
    _exit(127);
}

}  // namespace

bool OpenWithDefaultApplication(const std::string& target)
{
    const std::string program = FindOnPath("xdg-open");
    if (program.empty()) return false;
    std::string argument0 = "xdg-open", argument1 = target;
    char* const arguments[] = {argument0.data(), argument1.data(), nullptr};

    const int nullDevice = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nullDevice < 0) return false;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        close(nullDevice);
        return false;
    }

    const pid_t child = fork();
    if (child == 0) {
        // The intermediate child: start the grandchild in a session of its own and leave at
        // once, so the grandchild is adopted and reaped by the system.
        close(report[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) ExecInGrandchild(program.c_str(), arguments, nullDevice, report[1]);
        if (grandchild < 0) {
            const int error = errno;
            WriteAll(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    close(nullDevice);
    bool started = false;
    if (child > 0) {
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
        // The pipe closes without data when exec succeeds (close-on-exec), or carries errno.
        int error = 0;
        ssize_t count;
        while ((count = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {}
        started = count == 0;
    }
    close(report[0]);
    return started;
}

}  // namespace selvane::platform
