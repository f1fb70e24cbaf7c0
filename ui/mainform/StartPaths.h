// The paths that the desktop program is started with (a file manager's "Open with", the
// menu entry's %F, a terminal) or that are dropped on its window, read into what the window
// opens: one folder, and the pictures in it to select. Plain logic on the file system as it
// stands; never throws.
#pragma once

#include <string>
#include <vector>

namespace selvane {

struct StartPaths {
    std::string folder;                // absolute, with trailing "/"; empty: no path given exists
    std::vector<std::string> names;    // file names in folder to select, in argument order
    std::vector<std::string> missing;  // arguments that name nothing on disk, as given
    // Arguments left alone because they are, or lie in, another folder than folder.
    std::vector<std::string> elsewhere;
    bool namedFolder = false;  // an argument is folder itself
};

// The first argument that exists decides the folder: a folder itself, or a file's folder.
// The files given that lie in that folder are selected; files elsewhere and further
// folders are left alone, as the window shows one folder, and listed in elsewhere. Relative arguments are taken
// from the current folder, so call this before anything changes it.
StartPaths ReadStartPaths(const std::vector<std::string>& arguments);

}  // namespace selvane
