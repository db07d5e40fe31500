// The main window's background: 256 horizontal bands from the top colour to the bottom colour.
// Arithmetic only, so that it is tested without a screen.
#pragma once

#include <array>

#include "setup_state.h"

namespace quillset {

struct GradientBand {
    int top = 0, bottom = 0;  // pixel rows; bottom is exclusive
    ColorRef color = 0;
};

// Band i has the colour top + i * (bottom - top) / 255 per channel (single precision, truncated,
// low 8 bits) and spans rows trunc(i * h) to trunc(trunc(i * h) + h + 0.3) with h = height / 256:
// the extra 0.3 closes the gaps truncation would leave, and where it does not, the band reaches
// down to the next band's top. The first band has exactly the top colour,
// the last exactly the bottom colour.
std::array<GradientBand, 256> gradientBands(const RgbTriple& topColor, const RgbTriple& bottomColor, int height);

}  // namespace quillset
