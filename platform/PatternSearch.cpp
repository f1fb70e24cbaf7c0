#include "platform/PatternSearch.h"

#include <cwctype>
#include <dirent.h>
#include <locale.h>
#include <memory>

namespace selvane::platform {

namespace {

// Stands for a byte that does not start a valid UTF-8 sequence; outside Unicode, so it
// never equals a decoded character.
constexpr char32_t kInvalidByteBase = 0x110000;

// Decodes the character at text[position] and advances position past it.
char32_t NextCharacter(std::string_view text, std::size_t& position)
{
    const auto lead = static_cast<unsigned char>(text[position]);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) { length = 2; value = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; value = lead & 0x0F; }
    else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; value = lead & 0x07; }
    if (length == 0 || position + length > text.size()) {
        ++position;
        return kInvalidByteBase + lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[position + i]);
        if ((next & 0xC0) != 0x80) {
            ++position;
            return kInvalidByteBase + lead;
        }
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not characters either.
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    if (overlong || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        ++position;
        return kInvalidByteBase + lead;
    }
    position += length;
    return value;
}

// Case folding by Unicode's simple lower-case mapping, independent of the process locale,
// which may be "C" and would then fold ASCII only.
char32_t Fold(char32_t character)
{
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (character >= kInvalidByteBase) return character;
    if (unicode) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(character), unicode));
    return character >= U'A' && character <= U'Z' ? character + (U'a' - U'A') : character;
}

std::u32string Characters(std::string_view text, bool fold)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const char32_t character = NextCharacter(text, position);
        result.push_back(fold ? Fold(character) : character);
    }
    return result;
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*") return true;
    const std::u32string text = Characters(name, true);
    const std::u32string mask = Characters(pattern, true);
    // Greedy matching that returns to the last "*" on a mismatch; linear in practice and
    // never worse than text length times mask length.
    std::size_t t = 0, m = 0;
    std::size_t starMask = std::u32string::npos, starText = 0;
    while (t < text.size()) {
        if (m < mask.size() && mask[m] == U'*') {
            starMask = m++;
            starText = t;
        } else if (m < mask.size() && (mask[m] == U'?' || mask[m] == text[t])) {
            ++m;
            ++t;
        } else if (starMask != std::u32string::npos) {
            m = starMask + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == U'*') ++m;
    return m == mask.size();
}

std::vector<FoundEntry> FindEntries(const std::string& pathPattern)
{
    const auto slash = pathPattern.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : pathPattern.substr(0, slash + 1);
    const std::string pattern = slash == std::string::npos ? pathPattern : pathPattern.substr(slash + 1);
    std::vector<FoundEntry> found;
    if (pattern.empty()) return found;

    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory) return found;
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (!MatchesPattern(name, pattern)) continue;
        // An entry removed since readdir listed it is simply not reported.
        if (auto attributes = GetFileAttributes(prefix + name))
            found.push_back({name, *attributes});
    }
    return found;
}

}  // namespace selvane::platform
