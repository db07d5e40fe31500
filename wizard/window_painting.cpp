// Painting of the main window (gradient and caption, composed off-screen and copied in one go, so
// a repaint does not flicker) and of the splash box.
#include <string>

#include "gradient_bands.h"
#include "setup_window.h"

namespace quillset {

namespace {

const char* const kSplashText = "Quillset wizard is initializing";
const char* const kSplashCredits = "Quillset Setup 0.1.0\nscript-driven setup for Windows";

}  // namespace

void paintMainWindow(HWND window, const Appearance& appearance, const std::string& caption, int screenWidth,
                     int screenHeight) {
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window, &paint);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, screenWidth, screenHeight);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);

    for (const GradientBand& band : gradientBands(appearance.backgroundTop, appearance.backgroundBottom, screenHeight)) {
        RECT rect = {0, band.top, screenWidth, band.bottom};
        HBRUSH brush = CreateSolidBrush(band.color);
        FillRect(memory, &rect, brush);
        DeleteObject(brush);
    }

    HFONT font = CreateFontA(-MulDiv(appearance.captionSize, GetDeviceCaps(memory, LOGPIXELSY), 72), 0, 0, 0, 900, TRUE,
                             FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetBkMode(memory, TRANSPARENT);
    const int length = static_cast<int>(caption.size());
    SetTextColor(memory, appearance.captionColor);
    TextOutA(memory, appearance.captionX, appearance.captionY, caption.c_str(), length);
    // The second drawing lies over the first, as a shadow or an outline.
    if (appearance.captionColor2 != appearance.captionColor) {
        SetTextColor(memory, appearance.captionColor2);
        TextOutA(memory, appearance.captionX2, appearance.captionY2, caption.c_str(), length);
    }

    SelectObject(memory, oldFont);
    BitBlt(screen, 0, 0, screenWidth, screenHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
    DeleteObject(font);
    EndPaint(window, &paint);
    Sleep(static_cast<DWORD>(appearance.redrawWait > 0 ? appearance.redrawWait : 0));
}

void paintSplashWindow(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect;
    GetClientRect(window, &rect);
    SetBkMode(dc, TRANSPARENT);

    // The greeting, centred on (200, 100) in the default font.
    DrawTextA(dc, kSplashText, -1, &rect, DT_CALCRECT);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    rect.left = 200 - width / 2;
    rect.top = 100 - height / 2;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    DrawTextA(dc, kSplashText, -1, &rect, 0);

    // The credits, two centred lines in 9-point italic Arial, ending at row 180.
    HFONT font = CreateFontA(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 0, TRUE, FALSE, FALSE,
                             DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    rect.left = 0;
    DrawTextA(dc, kSplashCredits, -1, &rect, DT_CALCRECT | DT_CENTER);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    rect.left = 200 - width / 2;
    rect.right = rect.left + width;
    rect.bottom = 180;
    rect.top = 180 - height;
    DrawTextA(dc, kSplashCredits, -1, &rect, DT_CENTER);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    EndPaint(window, &paint);
}

}  // namespace quillset
