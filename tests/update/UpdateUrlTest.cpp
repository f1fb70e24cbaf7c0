#include "update/UpdateUrl.h"
#include "update/UpdateSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace selvane {
namespace {

struct SplitCase {
    std::string address;
    std::string scheme;
    std::string server;
    std::string object;
};

class SplitUrlTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitUrlTest, StripsOnlyALeadingSchemeAndSplitsAtTheFirstSlash)
{
    const TUrlParts parts = SplitUrl(GetParam().address);
    EXPECT_EQ(parts.Scheme, GetParam().scheme);
    EXPECT_EQ(parts.Server, GetParam().server);
    EXPECT_EQ(parts.Object, GetParam().object);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SplitUrlTest,
    ::testing::Values(SplitCase{"http://www.selvane.example/download-selvane/index.html", "http",
                                "www.selvane.example", "/download-selvane/index.html"},
                      SplitCase{"HTTP://Host.example/Path", "http", "Host.example", "/Path"},
                      SplitCase{"https://www.selvane.example/a/b.html", "https", "www.selvane.example",
                                "/a/b.html"},
                      SplitCase{"HTTPS://127.0.0.1:8443/x", "https", "127.0.0.1:8443", "/x"},
                      SplitCase{"http://127.0.0.1:8080/page", "http", "127.0.0.1:8080", "/page"},
                      SplitCase{"http://site.example/go?to=http://other.example/x", "http", "site.example",
                                "/go?to=http://other.example/x"},
                      SplitCase{"site.example/go?to=http://other.example/x", "http", "site.example",
                                "/go?to=http://other.example/x"},
                      SplitCase{"https://site.example/go?to=http://other.example/", "https", "site.example",
                                "/go?to=http://other.example/"},
                      SplitCase{"http://site.example", "http", "", "site.example"},
                      SplitCase{"", "http", "", ""}));

struct SchemeCase {
    std::string given;
    std::string kept;
};

class ProductUrlTest : public ::testing::TestWithParam<SchemeCase> {};

TEST_P(ProductUrlTest, GetsHttpInFrontUnlessItHasAScheme)
{
    TProductInfo info;
    info.SetURL(GetParam().given);
    EXPECT_EQ(info.URL(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Addresses, ProductUrlTest,
                         ::testing::Values(SchemeCase{"", "http://"},
                                           SchemeCase{"www.selvane.example/x",
                                                      "http://www.selvane.example/x"},
                                           SchemeCase{"httpd.example/x", "http://httpd.example/x"},
                                           SchemeCase{"HTTP://A.example/x", "HTTP://A.example/x"},
                                           SchemeCase{"https://a.example/x", "https://a.example/x"},
                                           SchemeCase{"Https://a.example:444/x", "Https://a.example:444/x"}));

}  // namespace
}  // namespace selvane
