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

// Decodes the UTF-8 sequence at `i` into `code` and moves `i` past it; false (and `i` unmoved) when
// the bytes there are not UTF-8.
bool nextUtf8(const std::string& text, std::size_t& i, unsigned& code);

// The code page 1252 byte of a Unicode character; false when code page 1252 lacks the character.
bool unicodeToCp1252(unsigned code, unsigned char& byte);

// Converts UTF-8 text to code page 1252. A character that code page 1252 lacks, and a byte that is
// not UTF-8, become '?'. (Windows' ANSI functions put '?' or a look-alike letter there: a name that
// opens no file either way.)
std::string utf8ToCp1252(const std::string& text);

}  // namespace quillset
