#include <gtest/gtest.h>

#include "cp1252.h"
#include "setup_state.h"

namespace quillset {
namespace {

TEST(SetupStateTest, DefaultsBeforeTheScriptRuns) {
    SetupState state(isCp1252AlphaNumeric, nullptr);
    // Blue to black gradient, 65-point white caption at (30, 30) with a black copy at (40, 40).
    EXPECT_EQ(state.backgroundTop.red, 0);
    EXPECT_EQ(state.backgroundTop.blue, 255);
    EXPECT_EQ(state.backgroundBottom.blue, 0);
    EXPECT_EQ(state.captionSize, 65);
    EXPECT_EQ(state.captionColor, 0x00FFFFFFu);
    EXPECT_EQ(state.captionColor2, 0u);
    EXPECT_EQ((std::vector<int>{state.captionX, state.captionY, state.captionX2, state.captionY2}),
              (std::vector<int>{30, 30, 40, 40}));
    EXPECT_EQ(state.redrawWait, 0);
    EXPECT_EQ(state.destinationAccepted, 1);
    EXPECT_EQ(state.createProgramGroup, 1);
    EXPECT_EQ(state.copyStarted + state.installAll + state.overwriteAll + state.isNt, 0);
    EXPECT_TRUE(state.currentPageName.empty());
    EXPECT_EQ(state.variables.size(), 0u);
    EXPECT_EQ(state.script.statementCount(), 0);
    EXPECT_TRUE(state.sections.empty() && state.files.empty() && state.controls.empty() &&
                state.storedStatements.empty());
}

TEST(SetupStateTest, CaptionColoursKeepTheLowEightBitsOfEachComponent) {
    EXPECT_EQ(makeColorRef(300, 0, 0), 0x0000002Cu);
    EXPECT_EQ(makeColorRef(1, 2, 3), 0x00030201u);
    EXPECT_EQ(makeColorRef(-1, 256, 511), 0x00FF00FFu);
}

}  // namespace
}  // namespace quillset
