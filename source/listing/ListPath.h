// How the file list (ApplyPath) and the folder tree (setting Folder) read a path they are
// pointed at, on a system whose only separator is "/" and whose only root is "/":
//
// - "[name]", as the list shows a folder, stands for name (unless a file is named so);
// - the file part is what follows the last "/"; the folder part is "/" when only one "/"
//   stands before it, the text before the last "/" when more does, and the base folder
//   when nothing does; a relative folder part is taken from the base folder;
// - a file part that names no file in that folder is one more folder level, so "/home/ann"
//   and "/home/ann/" both name the folder /home/ann; unless it holds "*" or "?" and names
//   no folder either: then it is a pattern. Names holding "*" or "?" are legal, so an
//   existing file or folder of that name is always taken literally.
//
// The folder part is not checked: entering it is the caller's step, which reports a folder
// that does not exist. Reads the file system (one stat); never throws.
#pragma once

#include <string>

namespace selvane {

struct ListPath {
    std::string folder;  // absolute when base is
    std::string file;    // empty, a file's name, or a pattern
    bool pattern = false;
};

ListPath SplitListPath(const std::string& text, const std::string& base);

}  // namespace selvane
