#include "source/listing/FilterText.h"
#include "source/listing/PictureFolder.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(ParseFilterTest, TheMainWindowsFilterGivesItsTenEntries)
{
    // Entry 0 is every supported picture, the list's own mask; the older formats keep their
    // places and the newer ones follow.
    const std::vector<FilterEntry> expected{
        {"Show all supported pictures (jpeg, jpg, gif, png, bmp, webp, tiff, avif, heic, jxl)", kPictureMask},
        {"JPEG", "*.jpeg;*.jpg;*.jp"},
        {"BITMAP", "*.bmp"},
        {"PNG", "*.png"},
        {"GIF", "*.gif"},
        {"WEBP", "*.webp"},
        {"TIFF", "*.tif;*.tiff"},
        {"AVIF", "*.avif"},
        {"HEIF", "*.heic;*.heif"},
        {"JPEG XL", "*.jxl"}};
    EXPECT_EQ(ParseFilter(kPictureFilter), expected);
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
