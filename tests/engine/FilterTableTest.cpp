#include "engine/resample/FilterTable.h"

#include <gtest/gtest.h>

namespace selvane {
namespace {

TEST(FilterTable, HoldsTheSevenFiltersInTheirStoredOrder)
{
    const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "Lanczos3", "Mitchell", "B-Spline"};
    const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 3.0f, 2.0f, 2.0f};
    for (int i = 0; i < kFilterCount; ++i) {
        EXPECT_EQ(FilterTable[i].Name, names[i]);
        EXPECT_EQ(FilterTable[i].Support, supports[i]);
        EXPECT_EQ(FindFilter(names[i]), i);
    }
    EXPECT_EQ(FilterTable[kDefaultFilterIndex].Name, "B-Spline");
    EXPECT_EQ(FindFilter("lanczos3"), 4);
    EXPECT_EQ(FindFilter("B-SPLINE"), 6);
    EXPECT_EQ(FindFilter("Gaussian"), -1);
}

struct FilterValue {
    FilterFunction filter;
    float x;
    float expected;
};

class FilterValues : public ::testing::TestWithParam<FilterValue> {};

TEST_P(FilterValues, MatchTheirFormula)
{
    EXPECT_FLOAT_EQ(GetParam().filter(GetParam().x), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, FilterValues,
    ::testing::Values(
        // Box is half-open on the left: +0.5 counts, -0.5 does not.
        FilterValue{BoxFilter, 0.5f, 1.0f}, FilterValue{BoxFilter, -0.5f, 0.0f},
        FilterValue{BoxFilter, -0.49f, 1.0f}, FilterValue{BoxFilter, 0.51f, 0.0f},
        FilterValue{TriangleFilter, -0.25f, 0.75f}, FilterValue{TriangleFilter, 1.0f, 0.0f},
        FilterValue{HermiteFilter, 0.5f, 0.5f}, FilterValue{HermiteFilter, 0.0f, 1.0f},
        FilterValue{BellFilter, 0.0f, 0.75f}, FilterValue{BellFilter, 1.0f, 0.125f},
        FilterValue{BellFilter, -1.5f, 0.0f}, FilterValue{Lanczos3Filter, 0.0f, 1.0f},
        FilterValue{Lanczos3Filter, 3.0f, 0.0f}, FilterValue{Lanczos3Filter, 0.5f, 0.6079271f},
        FilterValue{MitchellFilter, 0.0f, 8.0f / 9.0f}, FilterValue{MitchellFilter, 1.0f, 1.0f / 18.0f},
        FilterValue{MitchellFilter, 2.0f, 0.0f}, FilterValue{BSplineFilter, 0.0f, 2.0f / 3.0f},
        FilterValue{BSplineFilter, -1.0f, 1.0f / 6.0f}, FilterValue{BSplineFilter, 2.0f, 0.0f}));

}  // namespace
}  // namespace selvane
