// GIF through giflib: the first frame, drawn on a canvas of the logical screen size.
// Records are read only up to the end of the first frame, so later frames (however many,
// however large) cost nothing.
//
// - The frame is drawn at its position and clipped to the canvas; a frame entirely outside
//   still has its image data decoded (and checked), then leaves only the background.
// - Transparency is ignored: the transparent index draws its colour table entry.
// - The frame's local colour table is used, else the global one; an index beyond the table
//   in use, or any index when there is no table at all, draws black.
// - The canvas outside the frame takes the global table's background colour when the
//   background index lies inside that table, and black otherwise.
// - A frame of zero width or height draws nothing; a screen of zero width or height is an
//   error, as is damaged or missing image data in the first frame, and a frame of more
//   than kMaxPicturePixels pixels (its rows are decoded even where they are clipped).
#include "engine/codec/Decoders.h"
#include "engine/codec/Palette.h"
#include "engine/codec/PictureSize.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>

namespace selvane {

namespace {

struct Source {
    ByteSpan data;
    std::size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* target, int length)
{
    auto* source = static_cast<Source*>(gif->UserData);
    const std::size_t left = source->data.size() - source->position;
    const std::size_t count = std::min(left, static_cast<std::size_t>(length));
    if (count == 0) return 0;  // also keeps memcpy away from the null data of an empty span
    std::memcpy(target, source->data.data() + source->position, count);
    source->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

using GifFile = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int error)
{
    const char* text = GifErrorString(error);
    throw DecodeError(std::string("GIF: ") + (text ? text : "damaged file"));
}

void Check(int result, const GifFile& gif)
{
    if (result == GIF_ERROR) Fail(gif->Error);
}

Palette PaletteOf(const ColorMapObject* map)
{
    Palette palette;
    if (!map) return palette;
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
        const GifColorType& colour = map->Colors[i];
        palette.Set(static_cast<std::uint8_t>(i), colour.Red, colour.Green, colour.Blue);
    }
    return palette;
}

// Skips extension records up to the first image descriptor and reads it.
void ReadFirstImageDescriptor(const GifFile& gif)
{
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        Check(DGifGetRecordType(gif.get(), &type), gif);
        if (type == IMAGE_DESC_RECORD_TYPE) {
            Check(DGifGetImageDesc(gif.get()), gif);
            return;
        }
        if (type == TERMINATE_RECORD_TYPE) throw DecodeError("GIF: no image in the file");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            Check(DGifGetExtension(gif.get(), &code, &block), gif);
            while (block) Check(DGifGetExtensionNext(gif.get(), &block), gif);
        }
    }
}

}  // namespace

Raster DecodeGif(ByteSpan data, PictureMetadata*)
{
    Source source{data};
    int error = 0;
    const GifFile gif(DGifOpen(&source, ReadBytes, &error));
    if (!gif) Fail(error);
    CheckPictureSize(gif->SWidth, gif->SHeight, "GIF");
    ReadFirstImageDescriptor(gif);

    const GifImageDesc& frame = gif->Image;
    // Each row of the frame is decoded even where it is clipped away, so its size is
    // capped like a picture's.
    if (frame.Width > 0 && frame.Height > 0) CheckPictureSize(frame.Width, frame.Height, "GIF frame");
    const Palette global = PaletteOf(gif->SColorMap);
    const Palette colours = frame.ColorMap ? PaletteOf(frame.ColorMap) : global;
    const auto backgroundIndex = static_cast<std::uint8_t>(gif->SBackGroundColor);

    // The canvas stays untouched until the frame has decoded, so a broken frame on a large
    // screen fails before the memory is ever written.
    Raster canvas(gif->SWidth, gif->SHeight);
    const int width = canvas.Width();
    const int height = canvas.Height();
    const int left = std::min(frame.Left, width);
    const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{frame.Left} + frame.Width, width));
    const int top = std::min(frame.Top, height);
    const int bottom =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{frame.Top} + frame.Height, height));

    if (frame.Width > 0 && frame.Height > 0) {
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
        const auto drawRow = [&](int row) {
            Check(DGifGetLine(gif.get(), line.data(), frame.Width), gif);
            const int y = frame.Top + row;
            if (y < height && left < right)
                colours.PutRow(line.data() + (left - frame.Left), static_cast<std::size_t>(right - left),
                               canvas.Row(y) + 3 * left);
        };
        if (frame.Interlace) {
            // Rows arrive as every 8th from 0, every 8th from 4, every 4th from 2, then
            // every 2nd from 1.
            static constexpr int kStart[] = {0, 4, 2, 1};
            static constexpr int kStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = kStart[pass]; row < frame.Height; row += kStep[pass]) drawRow(row);
        } else {
            for (int row = 0; row < frame.Height; ++row) drawRow(row);
        }
    }

    const auto fill = [&](int y, int from, int to) {
        if (from < to)
            global.Fill(backgroundIndex, canvas.Row(y) + 3 * from, static_cast<std::size_t>(to - from));
    };
    const bool drawn = left < right && top < bottom && frame.Width > 0 && frame.Height > 0;
    for (int y = 0; y < height; ++y) {
        if (drawn && y >= top && y < bottom) {
            fill(y, 0, left);
            fill(y, right, width);
        } else {
            fill(y, 0, width);
        }
    }
    return canvas;
}

}  // namespace selvane
