#include "screen_steps.h"

#include <cstdint>
#include <vector>

#include <windows.h>

#include "png_writer.h"

namespace quillset::robot {

std::string takeScreenshot(const std::string& path) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return "the screen has no size";

    // A top-down 24-bit DIB section: its bits are readable directly after the copy.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    std::vector<std::uint8_t> rgb;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        if (copied) {
            // DIB rows are padded to whole 32-bit words and hold blue, green, red.
            const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
            const auto* source = static_cast<const std::uint8_t*>(bits);
            rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = source + stride * static_cast<std::size_t>(y);
                for (int x = 0; x < width; ++x) rgb.insert(rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
            }
        }
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) return "cannot copy the screen";
    if (!writePngFile(path, width, height, rgb)) return "cannot write " + path;
    return "";
}

long countScreenPixels(int left, int top, int right, int bottom, const ScreenColor& wanted, int tolerance) {
    const int width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return 0;
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
    long count = -1;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const auto* pixel = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
            const auto within = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
            count = 0;
            for (long i = 0; i < static_cast<long>(width) * height; ++i, pixel += 4)
                if (within(pixel[2], wanted.red) && within(pixel[1], wanted.green) && within(pixel[0], wanted.blue)) ++count;
        }
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
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

}  // namespace quillset::robot
