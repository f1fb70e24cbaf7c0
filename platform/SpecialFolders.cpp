#include "platform/SpecialFolders.h"

#include <cstdlib>
#include <fstream>

namespace selvane::platform {

namespace {

// An environment variable that holds an absolute path, without trailing "/"; the XDG rules
// say to ignore any other value.
std::string AbsoluteVariable(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || value[0] != '/') return {};
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Joins a folder and a relative part; an unknown folder stays unknown.
std::string Under(const std::string& folder, const std::string& relative)
{
    if (folder.empty()) return {};
    return folder == "/" ? "/" + relative : folder + "/" + relative;
}

std::string BaseFolder(const char* variable, const std::string& fallbackUnderHome)
{
    const std::string folder = AbsoluteVariable(variable);
    return folder.empty() ? Under(HomeFolder(), fallbackUnderHome) : folder;
}

// One value of user-dirs.dirs: a double-quoted text that is either an absolute path or
// "$HOME" followed by a relative one, with "\" escaping the next character. Empty when
// malformed.
std::string ParseUserDirectory(const std::string& value)
{
    if (value.size() < 2 || value.front() != '"') return {};
    std::string path;
    std::size_t i = 1;
    for (; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        path += value[i];
    }
    if (i == value.size()) return {};  // no closing quote
    if (path.rfind("$HOME", 0) == 0 && (path.size() == 5 || path[5] == '/')) {
        const std::string home = HomeFolder();
        if (home.empty()) return {};
        path = path.size() == 5 ? home : Under(home, path.substr(6));
    }
    if (path.empty() || path[0] != '/') return {};
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The file is meant to be sourced by a shell, so the last assignment of a key counts.
std::string UserDirectory(const std::string& key)
{
    std::ifstream file(Under(ConfigFolder(), "user-dirs.dirs"));
    std::string line, result;
    while (std::getline(file, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line.compare(start, key.size() + 1, key + "=") == 0)
            result = ParseUserDirectory(line.substr(start + key.size() + 1));
    }
    return result;
}

std::string UserFolder(const std::string& key, const std::string& fallbackUnderHome)
{
    const std::string configured = UserDirectory(key);
    return configured.empty() ? Under(HomeFolder(), fallbackUnderHome) : configured;
}

}  // namespace

std::string HomeFolder()
{
    return AbsoluteVariable("HOME");
}

std::string ConfigFolder()
{
    return BaseFolder("XDG_CONFIG_HOME", ".config");
}

std::string DesktopFolder()
{
    return UserFolder("XDG_DESKTOP_DIR", "Desktop");
}

std::string DocumentsFolder()
{
    return UserFolder("XDG_DOCUMENTS_DIR", "Documents");
}

std::string PicturesFolder()
{
    const std::string configured = UserDirectory("XDG_PICTURES_DIR");
    return configured.empty() ? HomeFolder() : configured;
}

std::string ApplicationsFolder()
{
    return Under(BaseFolder("XDG_DATA_HOME", ".local/share"), "applications");
}

}  // namespace selvane::platform
