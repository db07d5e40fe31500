#include <gtest/gtest.h>

#include <limits>

#include "gradient_bands.h"

namespace quillset {
namespace {

TEST(GradientBandsTest, BandsCoverEveryRowForOddHeights) {
    for (int height : {600, 700, 768, 1000, 1080, 1337}) {
        const auto bands = gradientBands({0, 0, 0}, {0, 0, 0}, height);
        EXPECT_EQ(bands[0].top, 0) << height;
        for (std::size_t i = 1; i < bands.size(); ++i)
            EXPECT_LE(bands[i].top, bands[i - 1].bottom) << "gap above band " << i << " at height " << height;
        EXPECT_GE(bands[255].bottom, height - 1) << height;
    }
}

TEST(GradientBandsTest, ComponentsOutsideTheByteRangeWrap) {
    const auto bands = gradientBands({300, -1, 0}, {300, -1, 510}, 256);
    EXPECT_EQ(bands[0].color, makeColorRef(300 & 0xFF, 0xFF, 0));
    EXPECT_EQ(bands[255].color, makeColorRef(300 & 0xFF, 0xFF, 510 & 0xFF));
    EXPECT_EQ(bands[100].color, makeColorRef(44, 255, 200));
}

TEST(GradientBandsTest, ExtremeComponentsGiveTheirOwnLowBytesAtBothEnds) {
    // Differences beyond the int range, and INT_MAX, which single precision rounds up past it.
    const int most = std::numeric_limits<int>::max(), least = std::numeric_limits<int>::min();
    const auto bands = gradientBands({-2000000000, most, least}, {2000000000, least, most}, 768);
    EXPECT_EQ(bands[0].color, makeColorRef(-2000000000, most, least));
    EXPECT_EQ(bands[255].color, makeColorRef(2000000000, least, most));
}

}  // namespace
}  // namespace quillset
