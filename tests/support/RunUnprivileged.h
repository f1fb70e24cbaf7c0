// Runs a piece of a test as an unprivileged user, for the cases that need a refused write
// or a non-administrator: sessions and CI run as root, whom file modes refuse nothing.
//
// The body runs in a forked child. When this process is root, the child first drops to
// the user and group "nobody" (65534) and no supplementary groups, as setpriv would;
// otherwise it runs as the current user, who is unprivileged already. The body's text
// result comes back to the caller; an exception in the body comes back as
// "exception: <what>". Memory changes of the body (test seams set inside it) stay in the
// child; seams set before the call are inherited. Call from a single-threaded test.
#pragma once

#include <functional>
#include <grp.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace selvane::test {

inline constexpr uid_t kUnprivilegedId = 65534;

inline std::string RunUnprivileged(const std::function<std::string()>& body)
{
    int channel[2];
    if (pipe(channel) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        close(channel[0]);
        std::string result;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 ||
                               setresgid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) != 0 ||
                               setresuid(kUnprivilegedId, kUnprivilegedId, kUnprivilegedId) != 0)) {
            result = "cannot drop privileges";
        } else {
            try {
                result = body();
            } catch (const std::exception& error) {
                result = std::string("exception: ") + error.what();
            }
        }
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t count = write(channel[1], result.data() + done, result.size() - done);
            if (count <= 0) break;
            done += static_cast<std::size_t>(count);
        }
        _exit(0);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    ssize_t count;
    while ((count = read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(count));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child ended abnormally";
    return result;
}

}  // namespace selvane::test
