#include "update/ClientFileName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace selvane {
namespace {

struct NameCase {
    std::string fromPage;
    std::optional<std::string> local;
};

class ClientFileBaseNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ClientFileBaseNameTest, KeepsOnlyTheLastPart)
{
    EXPECT_EQ(ClientFileBaseName(GetParam().fromPage), GetParam().local);
}

INSTANTIATE_TEST_SUITE_P(Names, ClientFileBaseNameTest,
                         ::testing::Values(NameCase{"SelvaneSetup.exe", "SelvaneSetup.exe"},
                                           NameCase{"setup 1.5.exe", "setup 1.5.exe"},
                                           NameCase{"../../.config/autostart/evil.desktop", "evil.desktop"},
                                           NameCase{"/etc/profile.d/evil.sh", "evil.sh"},
                                           NameCase{"..\\..\\Startup\\evil.exe", "evil.exe"},
                                           NameCase{"", std::nullopt}, NameCase{".", std::nullopt},
                                           NameCase{"..", std::nullopt}, NameCase{"folder/", std::nullopt},
                                           NameCase{"a/..", std::nullopt}, NameCase{"a\\.", std::nullopt}));

}  // namespace
}  // namespace selvane
