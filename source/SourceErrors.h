// The errors that the file list raises besides the platform's OsError. Both carry the
// program's own message text.
#pragma once

#include <stdexcept>
#include <string>

namespace selvane {

// "List index out of bounds (<index>)": an item index that the list does not hold.
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
};

// "Invalid file name - <text>": a path whose file part names no file in its folder.
class EInvalidFileName : public std::runtime_error {
public:
    explicit EInvalidFileName(const std::string& text);
};

}  // namespace selvane
