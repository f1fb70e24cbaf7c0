// An OpenSSH server of the test's own on 127.0.0.1, for runs that go through ssh as they
// would to other machines: its own host key, one client key it accepts for the current
// user, a free port, and stopped when the object ends. Needs Debian's openssh-server and
// root (the server changes to the user it logs in); Started() says whether it runs.
#pragma once

#include "tests/support/TestSandbox.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace selvane::test {

class LoopbackSshd {
public:
    // folder: where the keys, the configuration and the log go.
    explicit LoopbackSshd(const std::string& folder) : folder_(folder)
    {
        if (geteuid() != 0 || !std::filesystem::exists(kServer)) return;
        std::filesystem::create_directories("/run/sshd");  // the server's privilege separation
        const std::string keys = "ssh-keygen -q -t ed25519 -N '' -f '" + folder_ +
                                 "/host' && ssh-keygen -q -t ed25519 -N '' -f '" + folder_ +
                                 "/client' && cp '" + folder_ + "/client.pub' '" + folder_ + "/authorized'";
        if (std::system(keys.c_str()) != 0) return;
        port_ = FreePort();
        TestSandbox::WriteFile(
            folder_ + "/sshd_config",
            "Port " + std::to_string(port_) + "\nListenAddress 127.0.0.1\nHostKey " + folder_ +
                "/host\nAuthorizedKeysFile " + folder_ +
                "/authorized\nPermitRootLogin prohibit-password\nPasswordAuthentication no\n"
                "StrictModes no\nUsePAM no\nPidFile none\n");
        const std::string config = folder_ + "/sshd_config";
        const std::string log = folder_ + "/sshd.log";
        const char* arguments[] = {kServer, "-D", "-f", config.c_str(), "-E", log.c_str(), nullptr};
        if (posix_spawn(&server_, kServer, nullptr, nullptr, const_cast<char**>(arguments), environ) != 0)
            return;
        for (int tries = 0; tries < 200 && !Accepts(port_); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        started_ = Accepts(port_);
    }
    ~LoopbackSshd()
    {
        if (server_ <= 0) return;
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
    LoopbackSshd(const LoopbackSshd&) = delete;
    LoopbackSshd& operator=(const LoopbackSshd&) = delete;

    bool Started() const { return started_; }
    // The ssh command that logs in to it without a question, as GNU Parallel's --sshlogin
    // takes one.
    std::string SshCommand() const
    {
        return "ssh -p " + std::to_string(port_) + " -i " + folder_ +
               "/client -o BatchMode=yes -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null "
               "-o LogLevel=ERROR root@127.0.0.1";
    }

private:
    static constexpr const char* kServer = "/usr/sbin/sshd";

    static int FreePort()
    {
        const int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(probe, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
        close(probe);
        return ntohs(address.sin_port);
    }
    static bool Accepts(int port)
    {
        const int client = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool accepted = connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(client);
        return accepted;
    }

    std::string folder_;
    int port_ = 0;
    pid_t server_ = 0;
    bool started_ = false;
};

}  // namespace selvane::test
