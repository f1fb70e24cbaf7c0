// A temporary folder for one test, with HOME and the XDG variables pointed into it and the
// proxy variables cleared, so that no test reaches the real home or leaves loopback; on
// request TMPDIR too. Everything is put back and removed on destruction.
//
// The root is open to every user (0755), so that a body run by RunUnprivileged can reach
// the folders a test opens to it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

namespace selvane::test {

class TestSandbox {
public:
    TestSandbox()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "selvane-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a sandbox");
        root_ = pattern;
        std::error_code noFolder;
        startFolder_ = std::filesystem::current_path(noFolder);
        std::filesystem::permissions(root_, std::filesystem::perms(0755));
        std::filesystem::create_directories(Home());
        for (const char* proxy :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            SetVariable(proxy, std::nullopt);
        SetVariable("no_proxy", "*");
        SetVariable("HOME", Home().string());
        SetVariable("XDG_CONFIG_HOME", (Home() / ".config").string());
        SetVariable("XDG_DATA_HOME", (Home() / ".local/share").string());
        SetVariable("XDG_CACHE_HOME", (Home() / ".cache").string());
        SetVariable("XDG_STATE_HOME", (Home() / ".local/state").string());
    }

    ~TestSandbox()
    {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
        std::error_code ignored;
        // A test whose window entered a folder in here would leave the next test in a
        // folder that no longer exists.
        if (!startFolder_.empty()) std::filesystem::current_path(startFolder_, ignored);
        // Folders a test made read-only must be opened again to be removed.
        for (auto it = std::filesystem::recursive_directory_iterator(root_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(root_, ignored);
    }

    TestSandbox(const TestSandbox&) = delete;
    TestSandbox& operator=(const TestSandbox&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path Home() const { return root_ / "home"; }
    // The folder TMPDIR names after RedirectTemp(); downloads land there by default.
    std::filesystem::path Temp() const { return root_ / "tmp"; }
    void RedirectTemp()
    {
        std::filesystem::create_directories(Temp());
        SetVariable("TMPDIR", Temp().string());
    }

    // Sets (or, with std::nullopt, removes) an environment variable until the sandbox ends.
    void SetVariable(const std::string& name, const std::optional<std::string>& value)
    {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }

    // Writes a file, creating its folders.
    static void WriteFile(const std::filesystem::path& path, const std::string& contents)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // The names in a folder, for "nothing else was left behind" checks.
    static std::set<std::string> Names(const std::filesystem::path& folder)
    {
        std::set<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path root_;
    std::filesystem::path startFolder_;
    std::map<std::string, std::optional<std::string>> saved_;
};

// A fresh folder per test inside its own sandbox, removed afterwards.
class TemporaryFolderTest : public ::testing::Test {
protected:
    TemporaryFolderTest() : root_(sandbox_.Root() / "files") { std::filesystem::create_directories(root_); }
    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    std::string Folder() const { return root_.string() + "/"; }
    // The names in the folder, to show what a failed write left behind.
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_))
            names.insert(entry.path().filename().string());
        return names;
    }

    TestSandbox sandbox_;
    std::filesystem::path root_;
};

}  // namespace selvane::test
