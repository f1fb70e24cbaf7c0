#include "source/listing/NameOrder.h"

#include "platform/CaseFolding.h"

namespace selvane {

namespace {

int CompareIgnoringCase(std::string_view a, std::string_view b)
{
    return platform::Characters(a, true).compare(platform::Characters(b, true));
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b)
{
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return CompareIgnoringCase(a, b) == 0;
}

}  // namespace selvane
