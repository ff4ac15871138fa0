#pragma once
// The colours every view draws the curves in, the window's chart and the Python module's plot
// alike: the reference and the pattern as the plot image draws them, and an own target green.

#include "fuzzyset/plot_image.h"

namespace vesk {

constexpr TColour ReferenceColour = Blue;
constexpr TColour PatternColour = Red;
constexpr TColour TargetColour{0, 150, 0};

} // namespace vesk
