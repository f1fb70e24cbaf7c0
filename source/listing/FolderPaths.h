// Folder texts as the file list and the folder tree compare and start from them.
// Never throws.
#pragma once

#include <string>

namespace selvane {

// a and b name the same folder for a list that is pointed at b while it shows a: equal
// texts (trailing separators aside), or texts equal without regard to case that the file
// system resolves to the same folder (a case-insensitive volume).
bool SameFolder(const std::string& a, const std::string& b);

// The process's current folder, or "/" when it cannot be read (it was removed), so that
// a widget can always be created.
std::string StartFolder();

// The text with its trailing separators removed, except for the root "/".
std::string WithoutTrailingSeparators(std::string text);

}  // namespace selvane
