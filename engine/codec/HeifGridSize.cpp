#include "engine/codec/HeifGridSize.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <set>

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
    std::uint64_t method = 0, offset = 0;
};

// The first extent of every entry of an iloc box whose item is one of ids;
// withIndexInVersion1: whether a version 1 box holds the extent index its sizes declare.
std::vector<Location> FindLocations(ByteSpan iloc, const std::set<std::uint64_t>& ids,
                                    bool withIndexInVersion1)
{
    std::vector<Location> found;
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
            reader.Read(lengthSize);
            if (e == 0) location.offset = base + offset;
        }
        if (ids.contains(item) && extents > 0 && reader.Good()) found.push_back(location);
    }
    return found;
}

// Adds the items of type grid of an iinf box to ids.
void AddGridItems(ByteSpan iinf, std::set<std::uint64_t>& ids)
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
        if (fields.Good() && type == 0x67726964) ids.insert(item);  // "grid"
    }
}

// The canvas that grid item data at offset of source ask for.
std::optional<PictureDimensions> GridSize(ByteSpan source, std::uint64_t offset)
{
    if (offset > source.size()) return std::nullopt;
    Reader grid(source.subspan(static_cast<std::size_t>(offset)));
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

std::vector<PictureDimensions> GridCanvasSizes(ByteSpan file)
{
    std::vector<ByteSpan> iinfs, ilocs, idats;
    Reader top(file);
    Box box{};
    while (NextBox(top, box)) {
        if (!Is(box, "meta") || box.body.size() < 4) continue;
        Reader inside(box.body.subspan(4));
        Box child{};
        while (NextBox(inside, child)) {
            if (Is(child, "iinf")) iinfs.push_back(child.body);
            else if (Is(child, "iloc")) ilocs.push_back(child.body);
            else if (Is(child, "idat")) idats.push_back(child.body);
        }
    }
    std::set<std::uint64_t> grids;
    for (const ByteSpan iinf : iinfs) AddGridItems(iinf, grids);
    std::vector<PictureDimensions> sizes;
    if (grids.empty()) return sizes;
    const auto add = [&](ByteSpan source, std::uint64_t offset) {
        if (const auto size = GridSize(source, offset)) sizes.push_back(*size);
    };
    for (const ByteSpan iloc : ilocs)
        for (const bool withIndex : {true, false})
            for (const Location& location : FindLocations(iloc, grids, withIndex)) {
                if (location.method == 0) add(file, location.offset);
                else if (location.method == 1)
                    for (const ByteSpan idat : idats) add(idat, location.offset);
            }
    return sizes;
}

}  // namespace selvane
