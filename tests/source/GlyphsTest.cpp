#include "source/Glyphs.h"
#include "source/GlyphItemDelegate.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

struct GlyphCase {
    GlyphId id;
    int width;
    int height;
};

class GlyphTest : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(GlyphTest, SizeAndTransparentBottomLeftPixel)
{
    const QImage& glyph = Glyph(GetParam().id);
    EXPECT_EQ(glyph.width(), GetParam().width);
    EXPECT_EQ(glyph.height(), GetParam().height);
    EXPECT_EQ(qAlpha(glyph.pixel(0, glyph.height() - 1)), 0);
    int opaque = 0;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) opaque += qAlpha(glyph.pixel(x, y)) == 255;
    EXPECT_GT(opaque, 10) << "the glyph shows something";
}

INSTANTIATE_TEST_SUITE_P(
    All, GlyphTest,
    ::testing::Values(GlyphCase{GlyphId::Executable, 16, 15}, GlyphCase{GlyphId::UnknownFile, 16, 15},
                      GlyphCase{GlyphId::ClosedFolder, 16, 15}, GlyphCase{GlyphId::OpenFolder, 16, 15},
                      GlyphCase{GlyphId::CurrentFolder, 16, 15}, GlyphCase{GlyphId::Floppy, 16, 11},
                      GlyphCase{GlyphId::Hard, 16, 11}, GlyphCase{GlyphId::Network, 16, 11},
                      GlyphCase{GlyphId::CdRom, 16, 11}, GlyphCase{GlyphId::Ram, 16, 11},
                      GlyphCase{GlyphId::Desktop, 16, 15}, GlyphCase{GlyphId::Documents, 16, 15}));

TEST(TransparentByBottomLeftTest, ClearsEveryPixelOfThatColourAndKeepsTheOthers)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixel(1, 0, qRgb(200, 100, 50));
    const QImage result = TransparentByBottomLeft(picture);
    EXPECT_EQ(qAlpha(result.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(result.pixel(2, 1)), 0);
    EXPECT_EQ(result.pixel(1, 0), qRgba(200, 100, 50, 255));
}

TEST(GlyphGeometryTest, GlyphIsCentredInItsRowCutTowardZero)
{
    EXPECT_EQ(GlyphTop(QRect(0, 0, 100, 16), 15), 0);    // (0 + 16 - 15) / 2
    EXPECT_EQ(GlyphTop(QRect(0, 32, 100, 20), 15), 34);  // (32 + 52 - 15) / 2
    EXPECT_EQ(GlyphTop(QRect(0, 0, 100, 13), 15), -1);   // (0 + 13 - 15) / 2
}

TEST(GlyphGeometryTest, TextStartsFourPixelsAfterTheGlyph)
{
    EXPECT_EQ(TextLeft(QRect(0, 0, 100, 16), 2, 16), 22);
    EXPECT_EQ(TextLeft(QRect(0, 0, 100, 16), 2, 0), 2);
    EXPECT_EQ(TextLeft(QRect(5, 0, 100, 16), 14, 16), 39);
}

TEST(GlyphGeometryTest, RowHeightIsTheFontsAtLeastTheGlyphsPlusOneWithGlyphs)
{
    EXPECT_EQ(RowHeight(13, false, 15), 13);
    EXPECT_EQ(RowHeight(13, true, 15), 16);
    EXPECT_EQ(RowHeight(16, true, 15), 16);
    EXPECT_EQ(RowHeight(20, true, 15), 20);
}

}  // namespace
}  // namespace selvane
