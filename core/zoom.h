// The zoom steps of the window and how a requested zoom is read: a teacher's option or a stored
// setting may be anything, and the program must start all the same.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr std::array<int, 7> kZoomSteps{100, 125, 150, 175, 200, 250, 300}; // per cent

struct ZoomReading {
    int percent = 100;   // one of kZoomSteps
    std::string problem; // empty when the text named a step; else why another step was taken
};

// Reads a zoom in per cent ("150", " 150 ", "150%"): a step as it is, another number as the
// nearest step, anything else as 100.
ZoomReading readZoom(std::string_view text);

// The step after or before `percent` among those no larger than `largestFitting`; the same
// step where there is none.
int zoomIn(int percent, int largestFitting);
int zoomOut(int percent);
