// Looking at the screen: screenshots of the whole (virtual) screen as PNG files, and single pixels.
// Implemented in screen_steps.cpp, beside the robot's steps that use them.
#pragma once

#include <string>

#include "scenario_words.h"

namespace quillset::robot {

// Captures every monitor's area into a PNG file; returns an empty string or why it failed.
std::string takeScreenshot(const std::string& path);

// Counts the screen pixels in the area whose colour is within
// `tolerance` of `wanted` in every component; -1 when the screen cannot be read.
long countScreenPixels(const ScreenArea& area, const ScreenColor& wanted, int tolerance);

// Reads one screen pixel; false when the point lies outside the screen.
bool readScreenPixel(int x, int y, ScreenColor& color);

}  // namespace quillset::robot
