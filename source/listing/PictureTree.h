// The pictures of a folder and of every folder under it, for a batch that keeps the tree:
// each picture by its path relative to the folder ("2024/june/beach.jpg"), the folder's
// own pictures first in the file list's order, then each subfolder's, folder by folder in
// name order. Hidden folders (a name that starts with "."), links to folders and the
// output folder are never entered, so no loop and no earlier output is listed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace selvane {

struct PictureTree {
    std::vector<std::string> pictures;  // relative to the folder, "/" between folders
    // The subfolders that could not be read, each as "path: reason"; the others are listed.
    std::vector<std::string> unreadable;
};

// The names of one folder's pictures, in the order the tree lists them.
using FolderPictures = std::function<std::vector<std::string>(const std::string& folder)>;

// The names ListPictureFiles gives.
std::vector<std::string> PictureNames(const std::string& folder);

// skipFolder: the output folder (any spelling of it), or empty. pictures: what a folder
// contributes; the file list passes its own mask and file type here.
PictureTree ListPictureTree(const std::string& folder, const std::string& skipFolder,
                            const FolderPictures& pictures = PictureNames);

}  // namespace selvane
