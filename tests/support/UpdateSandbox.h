// A fresh temporary folder per test, with HOME, TMPDIR and the XDG folders pointing into it
// and the proxy variables cleared, so that no test touches the real home or leaves
// loopback. Everything is put back and removed when the sandbox goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace selvane::test {

class UpdateSandbox {
public:
    UpdateSandbox()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "selvane-update-XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a sandbox");
        root_ = pattern;
        std::filesystem::create_directories(Temp());
        std::filesystem::create_directories(Home());
        Set("TMPDIR", Temp().string());
        Set("HOME", Home().string());
        Set("XDG_CONFIG_HOME", (Home() / ".config").string());
        Set("XDG_DATA_HOME", (Home() / ".local/share").string());
        Set("XDG_CACHE_HOME", (Home() / ".cache").string());
        for (const char* proxy :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            Set(proxy, std::nullopt);
        Set("no_proxy", "*");
    }

    ~UpdateSandbox()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    UpdateSandbox(const UpdateSandbox&) = delete;
    UpdateSandbox& operator=(const UpdateSandbox&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // The folder TMPDIR names; downloads land here by default.
    std::filesystem::path Temp() const { return root_ / "tmp"; }
    std::filesystem::path Home() const { return root_ / "home"; }

private:
    void Set(const char* name, const std::optional<std::string>& value)
    {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }

    std::filesystem::path root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace selvane::test
