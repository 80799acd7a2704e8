#include "core/colour.h"

#include <algorithm>
#include <cmath>

namespace {

// WCAG 2.x relative luminance of an sRGB colour.
double luminance(std::uint32_t rgb) {
    auto channel = [](std::uint32_t value) {
        const double c = static_cast<double>(value & 0xFFu) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(rgb >> 16) + 0.7152 * channel(rgb >> 8) + 0.0722 * channel(rgb);
}

} // namespace

double contrastRatio(std::uint32_t rgbA, std::uint32_t rgbB) {
    const double a = luminance(rgbA), b = luminance(rgbB);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Colour readableTextOn(std::uint32_t backgroundRgb) {
    return contrastRatio(backgroundRgb, kBlack.rgb) >= contrastRatio(backgroundRgb, kWhite.rgb)
               ? kBlack
               : kWhite;
}
