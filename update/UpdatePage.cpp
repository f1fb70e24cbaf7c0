#include "update/UpdatePage.h"

#include <array>
#include <cctype>
#include <utility>

namespace selvane {

namespace {

// A tag name or value is looked for within this many characters after its opening quote.
constexpr std::size_t kMaxQuotedLength = 255;

std::string UpperCased(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The text from start up to the first double quote within kMaxQuotedLength characters;
// empty when that stretch holds no quote.
std::string_view QuotedFrom(std::string_view line, std::size_t start)
{
    if (start >= line.size()) return {};
    const std::string_view stretch = line.substr(start, kMaxQuotedLength);
    const auto quote = stretch.find('"');
    return quote == std::string_view::npos ? std::string_view() : stretch.substr(0, quote);
}

}  // namespace

std::vector<std::string> SplitPageLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::string ExtractContent(std::string_view line)
{
    const auto content = UpperCased(line).find("CONTENT=");
    if (content == std::string::npos) return {};
    // Skip CONTENT= and the opening quote.
    return std::string(QuotedFrom(line, content + 9));
}

TFoundInfo ParseUpdateInfo(const std::vector<std::string>& lines, const TTagInfo& tags)
{
    TFoundInfo found;
    const std::array<std::pair<const std::string*, std::string*>, 8> targets{{
        {&tags.ProductName, &found.ProductName},
        {&tags.ClientFileName, &found.ClientFileName},
        {&tags.Version, &found.Version},
        {&tags.Author, &found.Author},
        {&tags.Email, &found.Email},
        {&tags.Download, &found.Download},
        {&tags.Redirection, &found.Redirection},
        {&tags.RunParameters, &found.RunParameters},
    }};
    for (const std::string& line : lines) {
        const auto meta = UpperCased(line).find("META NAME");
        if (meta == std::string::npos) continue;
        // The name follows META NAME and the two characters =" directly.
        const std::string_view name = QuotedFrom(line, meta + 11);
        const std::string value = ExtractContent(line);
        for (const auto& [tag, target] : targets)
            if (name == *tag) *target = value;
    }
    return found;
}

}  // namespace selvane
