#include "screen_steps.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <windows.h>

#include "png_writer.h"
#include "robot.h"

namespace quillset::robot {

namespace {

// Copies a rectangle of the screen; the result holds red, green, blue for each pixel, row by row
// from the top. False when the screen cannot be read.
bool captureScreen(int left, int top, int width, int height, std::vector<std::uint8_t>& rgb) {
    // A top-down 32-bit DIB section: its bits are readable directly after the copy, rows unpadded.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        if (copied) {
            const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
            const auto* pixel = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
            rgb.clear();
            rgb.reserve(count * 3);
            for (std::size_t i = 0; i < count; ++i, pixel += 4) rgb.insert(rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied;
}

}  // namespace

std::string takeScreenshot(const std::string& path) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return "the screen has no size";
    std::vector<std::uint8_t> rgb;
    if (!captureScreen(left, top, width, height, rgb)) return "cannot copy the screen";
    if (!writePngFile(path, width, height, rgb)) return "cannot write " + path;
    return "";
}

long countScreenPixels(const ScreenArea& area, const ScreenColor& wanted, int tolerance) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return 0;
    std::vector<std::uint8_t> rgb;
    if (!captureScreen(area.left, area.top, width, height, rgb)) return -1;
    const auto within = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    long count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (within(rgb[i], wanted.red) && within(rgb[i + 1], wanted.green) && within(rgb[i + 2], wanted.blue)) ++count;
    return count;
}

bool readScreenPixel(int x, int y, ScreenColor& color) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    if (pixel == CLR_INVALID) return false;
    color = ScreenColor{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
    return true;
}

std::string Robot::screenshot(const std::string& path) {
    const std::string unpainted = programRunning() ? waitUntilPainted() : "";
    return unpainted.empty() ? takeScreenshot(path) : unpainted;
}

std::string Robot::waitForPixel(int x, int y, const ScreenColor& wanted, int tolerance) {
    ScreenColor seen{};
    const auto within = [tolerance](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (waitUntil(timeoutMs_, [&] {
            return readScreenPixel(x, y, seen) && within(seen.red, wanted.red) && within(seen.green, wanted.green) &&
                   within(seen.blue, wanted.blue);
        })) {
        return "";
    }
    if (!readScreenPixel(x, y, seen)) return "the point is outside the screen";
    return "the pixel is " + std::to_string(seen.red) + " " + std::to_string(seen.green) + " " +
           std::to_string(seen.blue) + " after " + describeTimeout();
}

std::string Robot::waitForPixelCount(const ScreenArea& area, const ScreenColor& wanted, int tolerance, int minimum,
                                     std::optional<int> maximum) {
    long seen = -1;
    const auto holds = [&] {
        seen = countScreenPixels(area, wanted, tolerance);
        return seen >= minimum && (!maximum || seen <= *maximum);
    };
    if (waitUntil(timeoutMs_, holds)) return "";
    if (seen < 0) return "cannot read the screen";
    return std::to_string(seen) + " pixels of that colour after " + describeTimeout();
}

}  // namespace quillset::robot
