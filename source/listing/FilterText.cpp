#include "source/listing/FilterText.h"

namespace selvane {

std::vector<FilterEntry> ParseFilter(const std::string& filter)
{
    std::vector<FilterEntry> entries;
    std::string rest = filter;
    for (std::size_t bar; (bar = rest.find('|')) != std::string::npos;) {
        FilterEntry entry{rest.substr(0, bar), {}};
        rest.erase(0, bar + 1);
        const std::size_t next = rest.find('|');
        entry.patterns = rest.substr(0, next);
        rest.erase(0, next == std::string::npos ? rest.size() : next + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace selvane
