#include "update/SiteAddresses.h"

#include <gtest/gtest.h>

#include <string>

namespace selvane {
namespace {

TEST(SiteAddressesTest, HangThePagesUnderTheConfiguredRoots)
{
    const std::string site = SELVANE_SITE_URL;
    EXPECT_EQ(kHomePageUrl, site);
    EXPECT_EQ(kProgramPageUrl, site + "download-selvane/index.html");
    EXPECT_EQ(kManualUrl, site + "download-selvane/help/help.html");
    EXPECT_EQ(kUpdatePageUrl, kProgramPageUrl);
    EXPECT_EQ(kSupportForumUrl, std::string(SELVANE_FORUM_URL) + "forum/viewforum.php?f=7");
}

}  // namespace
}  // namespace selvane
