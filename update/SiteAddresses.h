// Addresses on the maker's web site and its support forum. The two roots are build
// configuration (SELVANE_SITE_URL, SELVANE_FORUM_URL, each ending in "/"), so that a test
// build can point the program at a loopback server; the paths below them are fixed.
#pragma once

#include <string_view>

namespace selvane {

static_assert(std::string_view(SELVANE_SITE_URL).ends_with('/'), "SELVANE_SITE_URL must end in /");
static_assert(std::string_view(SELVANE_FORUM_URL).ends_with('/'), "SELVANE_FORUM_URL must end in /");

inline constexpr std::string_view kHomePageUrl = SELVANE_SITE_URL;
inline constexpr std::string_view kProgramPageUrl = SELVANE_SITE_URL "download-selvane/index.html";
inline constexpr std::string_view kManualUrl = SELVANE_SITE_URL "download-selvane/help/help.html";
// The update component reads the program page itself.
inline constexpr std::string_view kUpdatePageUrl = kProgramPageUrl;
inline constexpr std::string_view kSupportForumUrl = SELVANE_FORUM_URL "forum/viewforum.php?f=7";

}  // namespace selvane
