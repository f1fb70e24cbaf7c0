#include "engine/codec/HeifGridSize.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace selvane {

namespace {

// Big-endian fields from a span, every read checked; a failed read sets the reader bad and
// gives 0, so a parse can read on and ask once at the end.
class Reader {
public:
    explicit Reader(ByteSpan data) : data_(data) {}

    std::uint64_t Read(std::size_t bytes)
    {
        if (bytes > 8 || data_.size() - at_ < bytes) {
            bad_ = true;
            at_ = data_.size();
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) value = value << 8 | data_[at_ + i];
        at_ += bytes;
        return value;
    }
    void Skip(std::size_t bytes)
    {
        if (data_.size() - at_ < bytes) {
            bad_ = true;
            at_ = data_.size();
            return;
        }
        at_ += bytes;
    }
    bool Good() const { return !bad_; }
    bool AtEnd() const { return at_ >= data_.size(); }
    ByteSpan Rest() const { return data_.subspan(at_); }

private:
    ByteSpan data_;
    std::size_t at_ = 0;
    bool bad_ = false;
};

struct Box {
    char type[4];
    ByteSpan body;
};

// The next box of the span; false at its end or on a box that does not fit.
bool NextBox(Reader& reader, Box& box)
{
    if (reader.AtEnd()) return false;
    const ByteSpan start = reader.Rest();
    std::uint64_t size = reader.Read(4);
    const std::uint64_t type = reader.Read(4);
    std::size_t header = 8;
    if (size == 1) size = reader.Read(8), header = 16;
    else if (size == 0) size = start.size();
    if (!reader.Good() || size < header || size > start.size()) return false;
    for (int i = 0; i < 4; ++i) box.type[i] = static_cast<char>(type >> (24 - 8 * i));
    box.body = start.subspan(header, static_cast<std::size_t>(size) - header);
    reader.Skip(static_cast<std::size_t>(size) - header);
    return true;
}

bool Is(const Box& box, const char* type)
{
    return std::memcmp(box.type, type, 4) == 0;
}

struct Location {
    std::uint64_t method = 0, offset = 0, length = 0;
    bool found = false;
};

// The first extent of item id in an iloc box; withIndexInVersion1: whether a version 1
// box holds the extent index its sizes declare.
Location FindLocation(ByteSpan iloc, std::uint32_t id, bool withIndexInVersion1)
{
    Reader reader(iloc);
    const auto version = reader.Read(1);
    reader.Read(3);
    const auto sizes = reader.Read(2);
    const std::size_t offsetSize = sizes >> 12 & 15, lengthSize = sizes >> 8 & 15, baseSize = sizes >> 4 & 15;
    const bool indexed = version == 2 || (version == 1 && withIndexInVersion1);
    const std::size_t indexSize = indexed ? (sizes & 15) : 0;
    const auto count = reader.Read(version < 2 ? 2 : 4);
    for (std::uint64_t i = 0; i < count && reader.Good(); ++i) {
        Location location;
        const auto item = reader.Read(version < 2 ? 2 : 4);
        if (version == 1 || version == 2) location.method = reader.Read(2) & 15;
        reader.Read(2);  // data reference index
        const auto base = reader.Read(baseSize);
        const auto extents = reader.Read(2);
        for (std::uint64_t e = 0; e < extents && reader.Good(); ++e) {
            reader.Read(indexSize);
            const auto offset = reader.Read(offsetSize);
            const auto length = reader.Read(lengthSize);
            if (e == 0) location.offset = base + offset, location.length = length;
        }
        if (item == id && extents > 0 && reader.Good()) {
            location.found = true;
            return location;
        }
    }
    return {};
}

// Whether item id is of type grid, from an iinf box.
bool IsGrid(ByteSpan iinf, std::uint32_t id)
{
    Reader reader(iinf);
    const auto version = reader.Read(1);
    reader.Read(3);
    reader.Read(version == 0 ? 2 : 4);
    Box entry{};
    while (NextBox(reader, entry)) {
        if (!Is(entry, "infe")) continue;
        Reader fields(entry.body);
        const auto entryVersion = fields.Read(1);
        fields.Read(3);
        if (entryVersion < 2) continue;
        const auto item = fields.Read(entryVersion == 2 ? 2 : 4);
        fields.Read(2);  // protection index
        const auto type = fields.Read(4);
        if (fields.Good() && item == id) return type == 0x67726964;  // "grid"
    }
    return false;
}

// The canvas the grid's item data at location ask for.
std::optional<PictureDimensions> GridSize(const Location& location, ByteSpan file, ByteSpan idat)
{
    const ByteSpan source = location.method == 1 ? idat : location.method == 0 ? file : ByteSpan{};
    if (!location.found || location.offset > source.size()) return std::nullopt;
    Reader grid(source.subspan(static_cast<std::size_t>(location.offset)));
    grid.Read(1);  // version
    const auto flags = grid.Read(1);
    grid.Read(2);  // rows and columns, less one
    const std::size_t field = (flags & 1) != 0 ? 4 : 2;
    const auto width = grid.Read(field);
    const auto height = grid.Read(field);
    if (!grid.Good()) return std::nullopt;
    const auto clamp = [](std::uint64_t side) {
        return static_cast<int>(std::min<std::uint64_t>(side, INT32_MAX));
    };
    return PictureDimensions{clamp(width), clamp(height)};
}

}  // namespace

std::vector<PictureDimensions> PrimaryGridSizes(ByteSpan file)
{
    Reader top(file);
    Box box{};
    ByteSpan meta;
    while (NextBox(top, box))
        if (Is(box, "meta")) meta = box.body.size() >= 4 ? box.body.subspan(4) : ByteSpan{};
    std::optional<std::uint32_t> primary;
    ByteSpan iinf, iloc, idat;
    Reader inside(meta);
    while (NextBox(inside, box)) {
        if (Is(box, "pitm")) {
            Reader fields(box.body);
            const auto version = fields.Read(1);
            fields.Read(3);
            const auto id = fields.Read(version == 0 ? 2 : 4);
            if (fields.Good()) primary = static_cast<std::uint32_t>(id);
        } else if (Is(box, "iinf")) {
            iinf = box.body;
        } else if (Is(box, "iloc")) {
            iloc = box.body;
        } else if (Is(box, "idat")) {
            idat = box.body;
        }
    }
    std::vector<PictureDimensions> sizes;
    if (!primary || !IsGrid(iinf, *primary)) return sizes;
    for (const bool withIndex : {true, false}) {
        if (const auto size = GridSize(FindLocation(iloc, *primary, withIndex), file, idat))
            sizes.push_back(*size);
    }
    return sizes;
}

}  // namespace selvane
