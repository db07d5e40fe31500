// Code page 1252, the ANSI code page of Western Windows installations: what its letters and digits
// are, and how its bytes read in Unicode. Used where the platform cannot be asked (tools, tests).
#pragma once

#include <string>

namespace quillset {

// True for the bytes that IsCharAlphaNumericA accepts under code page 1252: ASCII letters and
// digits and the accented and other letters of the upper half. Signs (`_`, `-`, `.`, `§`, ...) are not.
bool isCp1252AlphaNumeric(unsigned char c);

// The Unicode code point of a code page 1252 byte. The five bytes without a character map to the
// C1 control of the same value, as Windows maps them.
unsigned cp1252ToUnicode(unsigned char c);

// Converts code page 1252 text to UTF-8.
std::string cp1252ToUtf8(const std::string& text);

// Appends the UTF-8 bytes of a character of the Basic Multilingual Plane.
void appendUtf8(std::string& out, unsigned code);

}  // namespace quillset
