// How the programs compare names: file lists, folder trees, completion candidates and the
// command line's folders are ordered by name without regard to case (Unicode's simple
// lower-case mapping, independent of the locale); names equal but for case are ordered by their bytes, so an order never
// depends on the order in which a directory lists its entries. Texts are UTF-8.
// Never throws but std::bad_alloc.
#pragma once

#include <string_view>

namespace selvane {

// True when a comes before b in the order above.
bool NameLess(std::string_view a, std::string_view b);

// True when a and b are equal without regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace selvane
