// How far to the right the main window's caption reaches. Setup.exe draws CAPTION with TextOutA in
// "Arial", weight 900, italic, of height -MulDiv(captionSize, 96, 72) pixels on a 96-DPI screen,
// at (captionX, captionY), and a second time at (captionX2, captionY2) when the two caption
// colours differ. The width is estimated from Arial Bold's advance widths; TextOutA does not kern.
#pragma once

#include <cstdint>
#include <string>

#include "setup_state.h"

namespace quillset {

// The font's em height in pixels for a caption size in points: what CreateFontA's height
// -MulDiv(points, 96, 72) gives (a positive height there is the cell height, larger than the em).
std::int64_t captionEmPixels(int points);

// The estimated width in pixels of a text (code page 1252) drawn in that font.
std::int64_t captionTextWidth(const std::string& text, std::int64_t emPixels);

// The rightmost pixel column the caption's drawings reach (x plus width), with the drawing that
// reaches it.
struct CaptionExtent {
    std::int64_t right = 0;
    int x = 0;  // where that drawing starts
};
CaptionExtent captionExtent(const Appearance& appearance, const std::string& caption);

}  // namespace quillset
