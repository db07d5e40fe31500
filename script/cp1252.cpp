#include "cp1252.h"

namespace quillset {

bool isCp1252AlphaNumeric(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
        case 0x83:  // f with hook
        case 0x88:  // modifier letter circumflex, a letter (unlike the small tilde, 0x98)
        case 0x8A: case 0x8C: case 0x8E:  // S caron, OE, Z caron
        case 0x9A: case 0x9C: case 0x9E: case 0x9F:  // s caron, oe, z caron, Y diaeresis
        case 0xAA: case 0xB5: case 0xBA:  // feminine ordinal, micro sign, masculine ordinal
        case 0xB2: case 0xB3: case 0xB9:  // superscript two, three, one: digits to Windows
            return true;
        default:
            break;
    }
    // The accented letters, without the multiplication and division signs.
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

unsigned cp1252ToUnicode(unsigned char c) {
    static const unsigned short kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (c >= 0x80 && c < 0xA0) return kHigh[c - 0x80];
    return c;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string cp1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

bool nextUtf8(const std::string& text, std::size_t& i, unsigned& code) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) return false;
    code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((c & 0xC0) != 0x80) return false;
        code = (code << 6) | (c & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return true;
}

bool unicodeToCp1252(unsigned code, unsigned char& byte) {
    // Outside 0x80-0x9F code page 1252 is Latin-1: the byte is the code point.
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        byte = static_cast<unsigned char>(code);
        return true;
    }
    for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (cp1252ToUnicode(static_cast<unsigned char>(b)) != code) continue;
        byte = static_cast<unsigned char>(b);
        return true;
    }
    return false;
}

std::string utf8ToCp1252(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned code = 0;
        unsigned char byte = '?';
        if (!nextUtf8(text, i, code)) ++i;
        else if (!unicodeToCp1252(code, byte)) byte = '?';
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

}  // namespace quillset
