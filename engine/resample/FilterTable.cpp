#include "engine/resample/FilterTable.h"

#include <cmath>

namespace selvane {

float BoxFilter(float x)
{
    // Deliberately not symmetric: +0.5 belongs to the window, -0.5 does not.
    return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleFilter(float x)
{
    const double a = std::fabs(static_cast<double>(x));
    return a < 1.0 ? static_cast<float>(1.0 - a) : 0.0f;
}

float HermiteFilter(float x)
{
    const double a = std::fabs(static_cast<double>(x));
    return a < 1.0 ? static_cast<float>((2.0 * a - 3.0) * (a * a) + 1.0) : 0.0f;
}

float BellFilter(float x)
{
    const double a = std::fabs(static_cast<double>(x));
    if (a < 0.5) return static_cast<float>(0.75 - a * a);
    if (a < 1.5) return static_cast<float>(0.5 * ((a - 1.5) * (a - 1.5)));
    return 0.0f;
}

namespace {

// sin(pi t) / (pi t), with pi t rounded to float before the sine and the division.
double Sinc(double t)
{
    if (t == 0.0) return 1.0;
    const double piT = static_cast<float>(M_PI * t);
    return std::sin(piT) / piT;
}

}  // namespace

float Lanczos3Filter(float x)
{
    const double a = std::fabs(static_cast<double>(x));
    return a < 3.0 ? static_cast<float>(Sinc(a) * Sinc(a / 3.0)) : 0.0f;
}

float MitchellFilter(float x)
{
    // B = C = 1/3.
    const double a = std::fabs(static_cast<double>(x));
    const double a2 = a * a;
    const double a3 = a2 * a;
    if (a < 1.0) return static_cast<float>((7.0 * a3 - 12.0 * a2 + 16.0 / 3.0) / 6.0);
    if (a < 2.0) return static_cast<float>((-(7.0 / 3.0) * a3 + 12.0 * a2 - 20.0 * a + 32.0 / 3.0) / 6.0);
    return 0.0f;
}

float BSplineFilter(float x)
{
    const double a = std::fabs(static_cast<double>(x));
    if (a < 1.0) return static_cast<float>(0.5 * (a * a * a) - a * a + 2.0 / 3.0);
    if (a < 2.0) {
        const double b = 2.0 - a;
        return static_cast<float>(b * b * b / 6.0);
    }
    return 0.0f;
}

const std::array<FilterEntry, kFilterCount> FilterTable{{
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
    {"B-Spline", BSplineFilter, 2.0f},
}};

int FindFilter(std::string_view name)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (int i = 0; i < kFilterCount; ++i) {
        const std::string_view candidate = FilterTable[static_cast<std::size_t>(i)].Name;
        if (candidate.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < name.size() && same; ++k) same = lower(candidate[k]) == lower(name[k]);
        if (same) return i;
    }
    return -1;
}

}  // namespace selvane
