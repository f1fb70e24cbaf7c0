#include "source/listing/PictureTree.h"

#include "source/listing/NameOrder.h"
#include "source/listing/PictureFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace selvane {

namespace {

namespace fs = std::filesystem;

bool IsSameFolder(const fs::path& folder, const fs::path& other)
{
    std::error_code error;
    return !other.empty() && fs::equivalent(folder, other, error);
}

// The folders directly inside folder that the tree enters, in name order.
std::vector<std::string> Subfolders(const fs::path& folder, const fs::path& skip, PictureTree& tree)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        if (name.starts_with('.') || entry.is_symlink(ignored) || !entry.is_directory(ignored)) continue;
        if (IsSameFolder(entry.path(), skip)) continue;
        names.push_back(name);
    }
    if (error) tree.unreadable.push_back(folder.string() + ": " + error.message());
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}

void Walk(const fs::path& root, const std::string& relative, const fs::path& skip, PictureTree& tree)
{
    const fs::path folder = relative.empty() ? root : root / relative;
    const std::string prefix = relative.empty() ? "" : relative + "/";
    for (const std::string& path : ListPictureFiles(folder.string()))
        tree.pictures.push_back(prefix + fs::path(path).filename().string());
    for (const std::string& name : Subfolders(folder, skip, tree)) Walk(root, prefix + name, skip, tree);
}

}  // namespace

PictureTree ListPictureTree(const std::string& folder, const std::string& skipFolder)
{
    PictureTree tree;
    Walk(folder, "", skipFolder, tree);
    return tree;
}

}  // namespace selvane
