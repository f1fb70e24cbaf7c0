// Names as sequences of characters, for comparisons without regard to case that do not
// depend on the process locale. Text is UTF-8; a byte that does not start a valid UTF-8
// sequence is one character of its own, outside Unicode, so it never equals a decoded one
// and is never folded. Never throws but std::bad_alloc; safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

namespace selvane::platform {

// The characters of text, each folded by Unicode's simple lower-case mapping when fold is
// set.
std::u32string Characters(std::string_view text, bool fold);

}  // namespace selvane::platform
