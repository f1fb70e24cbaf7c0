// selvane-resize run as a separate process, through the shell, as scripts run it.
#pragma once

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace selvane::test {

struct CommandResult {
    int status;
    std::string output;  // standard output and standard error
};

// prefix is shell text before the command: a limit, a change of folder.
inline CommandResult RunResize(const std::string& arguments, const std::string& prefix = "")
{
    const std::string command = prefix + std::string(SELVANE_RESIZE_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    CommandResult result{-1, {}};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace selvane::test
