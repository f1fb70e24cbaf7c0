// The local name of a download, from the name the update page gives. Pure; never throws
// except std::bad_alloc.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// The last part of the name after any "/" or "\" (pages are written with either), so that
// a page can only ever name a file inside the download folder. Nothing when that part is
// empty, "." or "..".
std::optional<std::string> ClientFileBaseName(std::string_view name);

}  // namespace selvane
