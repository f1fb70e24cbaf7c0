// Reading the update page: its text as lines, and the values of its META lines. A line
// gives a value when it holds, in any letter case, META NAME="tag" ... CONTENT="value";
// only the first tag and the first CONTENT= of a line count, a value must be shorter than
// 255 characters, and a later line with the same tag replaces an earlier one. Pure
// functions; never throw except std::bad_alloc.
#pragma once

#include "update/UpdateSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// The values found in an update page; a tag the page does not give stays empty.
struct TFoundInfo {
    std::string Version;
    std::string Download;
    std::string ClientFileName;
    std::string Redirection;
    std::string Author;
    std::string Email;
    std::string ProductName;
    std::string RunParameters;

    friend bool operator==(const TFoundInfo&, const TFoundInfo&) = default;
};

// Splits at CR, LF or CR LF; a NUL byte ends the text, and a final line break adds no
// empty line.
std::vector<std::string> SplitPageLines(std::string_view text);

// The value of the first CONTENT="..." of the line; empty when there is none, when it has
// no closing quote, or when it is 255 characters or longer.
std::string ExtractContent(std::string_view line);

TFoundInfo ParseUpdateInfo(const std::vector<std::string>& lines, const TTagInfo& tags);

}  // namespace selvane
