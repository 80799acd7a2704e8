// Colours as the core speaks of them, and which text colour reads best on a background.
#pragma once

#include <cstdint>

// A colour: plain RGB, or a role the window takes from the desktop's palette.
struct Colour {
    enum class Role : std::uint8_t { rgb, buttonFace, light };
    Role role = Role::rgb;
    std::uint32_t rgb = 0; // 0xRRGGBB, for Role::rgb

    static constexpr Colour ofRgb(std::uint32_t rgb) { return {Role::rgb, rgb & 0xFFFFFFu}; }
    static constexpr Colour buttonFace() { return {Role::buttonFace, 0}; }
    static constexpr Colour light() { return {Role::light, 0}; }
    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kBlack = Colour::ofRgb(0x000000);
inline constexpr Colour kWhite = Colour::ofRgb(0xFFFFFF);

// The contrast ratio of two RGB colours, 1 … 21, by the WCAG 2.x formula.
double contrastRatio(std::uint32_t rgbA, std::uint32_t rgbB);
// Black or white, whichever contrasts more with the RGB background.
Colour readableTextOn(std::uint32_t backgroundRgb);
