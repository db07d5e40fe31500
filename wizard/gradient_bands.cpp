#include "gradient_bands.h"

#include <limits>

namespace quillset {

namespace {

// A float truncated toward zero, held to the range of int: components far outside 0..255 must
// still give a defined colour.
int truncateToInt(float value) {
    if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// One channel's value in band i, truncated toward zero and cut to its low 8 bits. The difference is
// taken in floating point: as ints, -2000000000 to 2000000000 would overflow.
int channel(int start, int end, int band) {
    const float step = (static_cast<float>(end) - static_cast<float>(start)) / 255.0f;
    return truncateToInt(static_cast<float>(start) + static_cast<float>(band) * step) & 0xFF;
}

}  // namespace

std::array<GradientBand, 256> gradientBands(const RgbTriple& topColor, const RgbTriple& bottomColor, int height) {
    std::array<GradientBand, 256> bands;
    const float bandHeight = static_cast<float>(height) / 256.0f;
    for (int i = 0; i < 256; ++i) {
        GradientBand& band = bands[static_cast<std::size_t>(i)];
        band.top = static_cast<int>(static_cast<float>(i) * bandHeight);
        band.bottom = static_cast<int>(static_cast<double>(static_cast<float>(band.top) + bandHeight) + 0.3);
        // The 0.3 closes most gaps, not all (at 600 rows, band 2 ends at row 6 and band 3 starts
        // at row 7): reach the next band's top, so that no unpainted row shows through.
        const int nextTop = static_cast<int>(static_cast<float>(i + 1) * bandHeight);
        if (band.bottom < nextTop) band.bottom = nextTop;
        band.color = makeColorRef(channel(topColor.red, bottomColor.red, i),
                                  channel(topColor.green, bottomColor.green, i),
                                  channel(topColor.blue, bottomColor.blue, i));
    }
    return bands;
}

}  // namespace quillset
