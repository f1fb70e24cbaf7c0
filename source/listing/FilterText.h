// The text of a filter box: pairs of a description and its patterns, every part separated
// from the next by "|", e.g. "JPEG|*.jpeg;*.jpg;*.jp|PNG|*.png". Pure; never throws.
#pragma once

#include <string>
#include <vector>

namespace selvane {

struct FilterEntry {
    std::string description;
    std::string patterns;

    bool operator==(const FilterEntry&) const = default;
};

// The entries in order. A description whose patterns are missing at the end of the text
// (no "|" after it) is dropped; "A|" gives A with empty patterns.
std::vector<FilterEntry> ParseFilter(const std::string& filter);

}  // namespace selvane
