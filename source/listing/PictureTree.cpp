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

void Walk(const fs::path& root, const std::string& relative, const fs::path& skip,
          const FolderPictures& pictures, PictureTree& tree)
{
    const fs::path folder = relative.empty() ? root : root / relative;
    const std::string prefix = relative.empty() ? "" : relative + "/";
    for (const std::string& name : pictures(folder.string())) tree.pictures.push_back(prefix + name);
    for (const std::string& name : Subfolders(folder, skip, tree))
        Walk(root, prefix + name, skip, pictures, tree);
}

}  // namespace

std::vector<std::string> PictureNames(const std::string& folder)
{
    std::vector<std::string> names = ListPictureFiles(folder);
    for (std::string& name : names) name = fs::path(name).filename().string();
    return names;
}

PictureTree ListPictureTree(const std::string& folder, const std::string& skipFolder,
                            const FolderPictures& pictures)
{
    PictureTree tree;
    Walk(folder, "", skipFolder, pictures, tree);
    return tree;
}

}  // namespace selvane
