// Looking at the screen: screenshots of the whole (virtual) screen as PNG files, and single pixels.
#pragma once

#include <string>

namespace quillset::robot {

struct ScreenColor {
    int red;
    int green;
    int blue;
};

// Captures every monitor's area into a PNG file; returns an empty string or why it failed.
std::string takeScreenshot(const std::string& path);

// Counts the screen pixels in the rectangle [left, right) x [top, bottom) whose colour is within
// `tolerance` of `wanted` in every component; -1 when the screen cannot be read.
long countScreenPixels(int left, int top, int right, int bottom, const ScreenColor& wanted, int tolerance);

// Reads one screen pixel; false when the point lies outside the screen.
bool readScreenPixel(int x, int y, ScreenColor& color);

}  // namespace quillset::robot
