#include "source/listing/FilterText.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(ParseFilterTest, TheMainWindowsFilterGivesItsFiveEntries)
{
    const auto entries = ParseFilter(
        "Show all supported pictures (jpeg, jpg, gif, png, bmp)|*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png|JPEG|*.jpeg;*.jpg;*.jp|"
        "BITMAP|*.bmp|PNG|*.png|GIF|*.gif");
    const std::vector<FilterEntry> expected{
        {"Show all supported pictures (jpeg, jpg, gif, png, bmp)", "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png"},
        {"JPEG", "*.jpeg;*.jpg;*.jp"},
        {"BITMAP", "*.bmp"},
        {"PNG", "*.png"},
        {"GIF", "*.gif"}};
    EXPECT_EQ(entries, expected);
}

TEST(ParseFilterTest, ADescriptionWithoutPatternsAtTheEndIsDropped)
{
    EXPECT_EQ(ParseFilter("All|*.*|Orphan"), (std::vector<FilterEntry>{{"All", "*.*"}}));
    EXPECT_EQ(ParseFilter("Orphan"), std::vector<FilterEntry>{});
    EXPECT_EQ(ParseFilter(""), std::vector<FilterEntry>{});
}

TEST(ParseFilterTest, ABarAtTheEndGivesEmptyPatterns)
{
    EXPECT_EQ(ParseFilter("All|"), (std::vector<FilterEntry>{{"All", ""}}));
    EXPECT_EQ(ParseFilter("A|*.a||"), (std::vector<FilterEntry>{{"A", "*.a"}, {"", ""}}));
}

}  // namespace
}  // namespace selvane
