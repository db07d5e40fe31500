#include "caption_width.h"

namespace quillset {

namespace {

// Advance widths in thousandths of an em of the characters 0x20 to 0xFF of code page 1252: the
// widths of Adobe's Helvetica-Bold font metrics (AFM), which Arial Bold shares, but for the four
// where Arial's own differ (macron 0xAF, plus-minus 0xB1, micro 0xB5, division 0xF7); its italic
// has the same advances. (Compared with Liberation Sans Bold, made with Arial's metrics: no other
// width differs by more than a thousandth.) 0: the code page has no character there (0x7F, 0x81,
// 0x8D, 0x8F, 0x90, 0x9D).
const std::uint16_t kArialBoldWidths[224] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278,    // 0x20 space ! " ...
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,    // 0x30 0-9 : ; < = > ?
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,    // 0x40 @ A-O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 584, 556,    // 0x50 P-Z [ \ ] ^ _
    333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,    // 0x60 ` a-o
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584, 0,      // 0x70 p-z { | } ~
    556, 0, 278, 556, 500, 1000, 556, 556, 333, 1000, 667, 333, 1000, 0, 611, 0,       // 0x80 Euro ...
    0, 278, 278, 500, 500, 350, 556, 1000, 333, 1000, 556, 333, 944, 0, 500, 667,      // 0x90 quotes, dashes ...
    278, 333, 556, 556, 556, 556, 280, 556, 333, 737, 370, 556, 584, 333, 737, 552,    // 0xA0 no-break space ...
    400, 549, 333, 333, 333, 576, 556, 278, 333, 333, 365, 556, 834, 834, 834, 611,    // 0xB0 degree ...
    722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,   // 0xC0 A grave ...
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,    // 0xD0 Eth ...
    556, 556, 556, 556, 556, 556, 889, 556, 556, 556, 556, 556, 278, 278, 278, 278,    // 0xE0 a grave ...
    611, 611, 611, 611, 611, 611, 611, 549, 611, 611, 611, 611, 611, 556, 611, 556,    // 0xF0 eth ...
};

// What the font draws for a character it has no glyph for (a control character, a hole of the
// code page): Arial's empty box, 1536 of 2048 units.
constexpr std::int64_t kMissingGlyphWidth = 750;

// Arial's cell (ascent 1854 and descent 434 of its 2048 units): a positive font height asks for
// a cell of that height, whose em is smaller.
constexpr std::int64_t kEmUnits = 2048, kCellUnits = 1854 + 434;

std::int64_t advanceWidth(unsigned char c) {
    const std::uint16_t width = c >= 0x20 ? kArialBoldWidths[c - 0x20] : 0;
    return width != 0 ? width : kMissingGlyphWidth;
}

// MulDiv: the product over the divisor, rounded half away from zero; -1 when it leaves 32 bits.
std::int64_t mulDiv(std::int64_t number, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t product = number * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / denominator;
    return result > INT32_MAX || result < INT32_MIN ? -1 : result;
}

}  // namespace

std::int64_t captionEmPixels(int points) {
    const std::int64_t height = -mulDiv(points, 96, 72);
    return height < 0 ? -height : height * kEmUnits / kCellUnits;
}

std::int64_t captionTextWidth(const std::string& text, std::int64_t emPixels) {
    // Each character advances by a whole number of pixels.
    std::int64_t width = 0;
    for (char c : text) width += (advanceWidth(static_cast<unsigned char>(c)) * emPixels + 500) / 1000;
    return width;
}

CaptionExtent captionExtent(const Appearance& appearance, const std::string& caption) {
    const std::int64_t width = captionTextWidth(caption, captionEmPixels(appearance.captionSize));
    CaptionExtent extent{appearance.captionX + width, appearance.captionX};
    const bool twoDrawings = appearance.captionColor2 != appearance.captionColor;
    if (twoDrawings && appearance.captionX2 + width > extent.right) extent = {appearance.captionX2 + width, appearance.captionX2};
    return extent;
}

}  // namespace quillset
