#include "ui/mainform/StartPaths.h"

#include <filesystem>
#include <system_error>

namespace selvane {

StartPaths ReadStartPaths(const std::vector<std::string>& arguments)
{
    namespace fs = std::filesystem;
    StartPaths start;
    for (const std::string& argument : arguments) {
        std::error_code error;
        const fs::path path = fs::absolute(fs::path(argument), error).lexically_normal();
        const fs::file_status status = fs::status(path, error);
        if (error || !fs::exists(status)) {
            start.missing.push_back(argument);
            continue;
        }
        const bool folder = fs::is_directory(status);
        // "/pictures/" normalises with an empty file name; its parent is the folder itself.
        const fs::path container = folder ? path : path.parent_path();
        std::string containerText = container.string();
        if (!containerText.ends_with('/')) containerText += '/';
        if (start.folder.empty()) start.folder = containerText;
        if (containerText != start.folder) start.elsewhere.push_back(argument);
        else if (folder) start.namedFolder = true;
        else start.names.push_back(path.filename().string());
    }
    return start;
}

}  // namespace selvane
