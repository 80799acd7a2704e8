#include "core/zoom.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '%'))
        text.remove_suffix(1);
    return text;
}

int nearestStep(double percent) {
    int best = kZoomSteps.front();
    for (int step : kZoomSteps)
        if (std::fabs(step - percent) < std::fabs(best - percent)) best = step;
    return best;
}

} // namespace

// The text as a message may quote it: on one line, whatever it holds.
static std::string quotable(std::string_view text) {
    std::string out;
    for (char c : text)
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return out;
}

ZoomReading readZoom(std::string_view text) {
    const std::string_view digits = trimmed(text);
    // A fraction or an exponent ("150.5", "1e20") is still a number: the nearest step is taken.
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool number = error == std::errc() || error == std::errc::result_out_of_range;
    if (digits.empty() || !number || end != digits.data() + digits.size() || std::isnan(value))
        return {100, "«" + quotable(text) + "» — не масштаб в процентах; взят 100 %"};
    if (error == std::errc::result_out_of_range) value = digits.front() == '-' ? 0 : 1e9;
    value = std::clamp(value, 0.0, 1e9); // far beyond every step, and still exact
    const int step = nearestStep(value);
    if (step == value) return {step, {}};
    return {step, std::string(digits) +
                      " % — не шаг масштаба (100, 125, 150, 175, 200, 250, 300); взят " +
                      std::to_string(step) + " %"};
}

int zoomIn(int percent, int largestFitting) {
    for (int step : kZoomSteps)
        if (step > percent && step <= largestFitting) return step;
    return percent;
}

int zoomOut(int percent) {
    int previous = percent;
    for (int step : kZoomSteps)
        if (step < percent) previous = step;
    return previous;
}
