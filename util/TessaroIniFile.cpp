#include "util/TessaroIniFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileContents.h"
#include "platform/OsError.h"
#include "util/ShortDate.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace selvane {

namespace {

constexpr std::size_t kMaxValueLength = 2047;
// A save takes milliseconds; a temporary this old belongs to a save that died.
constexpr std::chrono::minutes kStaleSaveAge{10};
constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// One line as the reader sees it. Lines keep their bytes (and any "\r") in the file; only
// this view of them is trimmed.
struct LineView {
    enum Kind { Blank, Section, Key, Other } kind = Other;
    std::string_view name;   // section or key name
    std::string_view value;  // for a key
};

LineView Classify(std::string_view line)
{
    const std::string_view text = Trim(line);
    if (text.empty()) return {LineView::Blank, {}, {}};
    // A header cut off before its "]" still names its section.
    if (text[0] == '[') return {LineView::Section, Trim(text.substr(1, text.find(']') - 1)), {}};
    if (text[0] == ';' || text[0] == '#') return {LineView::Other, {}, {}};
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return {LineView::Other, {}, {}};
    return {LineView::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::vector<std::string> SplitLines(const std::string& contents)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        auto end = contents.find('\n', start);
        if (end == std::string::npos) end = contents.size();
        lines.emplace_back(contents, start, end - start);
        start = end + 1;
    }
    return lines;
}

// Where a section's lines are: its header and the line after its last line.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<std::string>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineView view = Classify(lines[i]);
        if (view.kind != LineView::Section || !SameName(view.name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && Classify(lines[end]).kind != LineView::Section) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, SectionRange range,
                                   std::string_view key)
{
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const LineView view = Classify(lines[i]);
        if (view.kind == LineView::Key && SameName(view.name, key)) return i;
    }
    return std::nullopt;
}

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool IsValidSectionName(std::string_view name)
{
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return c == ']' || c == '\0' || IsLineBreak(c); });
}

bool IsValidKeyName(std::string_view name)
{
    const std::string_view trimmed = Trim(name);
    return !trimmed.empty() && trimmed[0] != '[' && trimmed[0] != ';' && trimmed[0] != '#' &&
           std::none_of(name.begin(), name.end(),
                        [](char c) { return c == '=' || c == '\0' || IsLineBreak(c); });
}

// A stored value never ends its line early nor adds one.
std::string StorableValue(const std::string& value)
{
    std::string result = value.substr(0, value.find('\0'));
    std::replace_if(result.begin(), result.end(), IsLineBreak, ' ');
    return result;
}

// At most kMaxValueLength bytes, moved back to the start of a UTF-8 character that the cut
// would split (by at most three bytes, so that invalid text is still cut near the limit).
std::string LimitLength(std::string_view value)
{
    if (value.size() <= kMaxValueLength) return std::string(value);
    std::size_t cut = kMaxValueLength;
    for (int step = 0; step < 3 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80; ++step) --cut;
    return std::string(value.substr(0, cut));
}

std::optional<int> ParseInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t value = 0;
        const auto digits = text.substr(2);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        return static_cast<int>(value);  // eight digits may set the sign bit
    }
    // from_chars takes a "-" but no "+"; "+-1" must stay invalid.
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (text.empty() || text[0] == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The file's contents for reading: an unreadable file reads like a missing one.
std::vector<std::string> ReadLines(const std::string& fileName)
{
    try {
        return SplitLines(platform::ReadFileContents(fileName, kMaxIniFileBytes).value_or(std::string()));
    } catch (const platform::OsError&) {
        return {};
    }
}

std::optional<std::string_view> LookUp(const std::vector<std::string>& lines, const std::string& section,
                                       const std::string& key)
{
    const auto range = FindSection(lines, section);
    if (!range) return std::nullopt;
    const auto line = FindKey(lines, *range, key);
    if (!line) return std::nullopt;
    return Classify(lines[*line]).value;
}

}  // namespace

TTessaroIniFile::TTessaroIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TTessaroIniFile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const
{
    const auto lines = ReadLines(fileName_);
    const auto value = LookUp(lines, section, key);
    if (!value) return defaultValue;
    return LimitLength(Trim(value->substr(0, value->find('\0'))));
}

int TTessaroIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    return ParseInteger(ReadString(section, key, {})).value_or(defaultValue);
}

bool TTessaroIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TTessaroIniFile::ReadDate(const std::string& section, const std::string& key,
                                 double defaultValue) const
{
    const std::string text = ReadString(section, key, {});
    if (text.empty()) return defaultValue;
    return ParseShortDate(text).value_or(defaultValue);
}

bool TTessaroIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return LookUp(ReadLines(fileName_), section, key).has_value();
}

void TTessaroIniFile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value)
{
    const EIniFileException refused("Unable to write to " + fileName_);
    if (!IsValidSectionName(section) || !IsValidKeyName(key)) throw refused;
    try {
        // A file that exists but cannot be read must not be replaced by one holding only
        // this key, so reading failures refuse the write.
        std::vector<std::string> lines =
            SplitLines(platform::ReadFileContents(fileName_, kMaxIniFileBytes).value_or(std::string()));
        // New lines follow the file's line ends.
        const std::string lineEnd = !lines.empty() && lines[0].ends_with('\r') ? "\r" : "";
        const std::string stored = StorableValue(value);
        const std::string name(Trim(key));

        if (const auto range = FindSection(lines, section)) {
            if (const auto line = FindKey(lines, *range, key)) {
                // Keep the key's spelling and line end; only the value changes.
                std::string& text = lines[*line];
                const std::string keepEnd = text.ends_with('\r') ? "\r" : "";
                text = std::string(Classify(text).name) + "=" + stored + keepEnd;
            } else {
                std::size_t after = range->end;
                while (after > range->header + 1 && Classify(lines[after - 1]).kind == LineView::Blank)
                    --after;
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after),
                             name + "=" + stored + lineEnd);
            }
        } else {
            lines.push_back("[" + section + "]" + lineEnd);
            lines.push_back(name + "=" + stored + lineEnd);
        }

        std::string contents;
        for (const std::string& line : lines) contents.append(line).push_back('\n');
        platform::WriteFileAtomically(fileName_, contents);
        if (!staleSavesRemoved_) {
            platform::RemoveStaleTemporaries(fileName_, kStaleSaveAge);
            staleSavesRemoved_ = true;
        }
    } catch (const platform::OsError&) {
        throw refused;
    }
}

void TTessaroIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    WriteString(section, key, std::string(buffer, result.ptr));
}

void TTessaroIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TTessaroIniFile::WriteDate(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, FormatShortDate(value));
}

}  // namespace selvane
