#include "platform/CaseFolding.h"

#include <cwctype>
#include <locale.h>

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
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    }
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
char32_t FoldCase(char32_t character)
{
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (character >= kInvalidByteBase) return character;
    if (unicode) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(character), unicode));
    return character >= U'A' && character <= U'Z' ? character + (U'a' - U'A') : character;
}

}  // namespace

std::u32string Characters(std::string_view text, bool fold)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const char32_t character = NextCharacter(text, position);
        result.push_back(fold ? FoldCase(character) : character);
    }
    return result;
}

}  // namespace selvane::platform
