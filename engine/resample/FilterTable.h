// The seven resampling filters, in the fixed order in which the user chooses them and in
// which their index is stored. Each filter takes a signed distance in source pixels and
// returns a weight; both are 32-bit floats. Formulas are evaluated in double precision from
// the float argument and rounded to float once, at the end, so results are reproducible
// bit for bit on every machine.
#pragma once

#include <array>
#include <string_view>

namespace selvane {

using FilterFunction = float (*)(float x);

struct FilterEntry {
    std::string_view Name;
    FilterFunction WeightFunc;
    float Support;  // half-width, in source pixels at scale 1, outside which the filter is 0
};

inline constexpr int kFilterCount = 7;
inline constexpr int kDefaultFilterIndex = 6;  // "B-Spline"

extern const std::array<FilterEntry, kFilterCount> FilterTable;

float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);
float BSplineFilter(float x);

// The table index of a filter name, compared without regard to letter case; -1 if none.
int FindFilter(std::string_view name);

}  // namespace selvane
