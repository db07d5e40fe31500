// The classic LZ format of Windows installation media ("SZDD"), which the platform's installer
// (VerInstallFileA, through LZOpenFile and LZCopy), SetupGetFileCompressionInfo and the system's
// `expand` read.
//
// The format: the 14-byte header "SZDD" 0x88 0xF0 0x27 0x33, the mode 'A', the character of the
// name that the compressed name replaced (0: none), the expanded size as 32-bit little-endian;
// then groups of a flag byte and up to eight items, the flag's bits from the lowest up telling each
// item's kind: 1 a literal byte, 0 a reference of two bytes to 3 to 18 bytes already expanded.
// A reference names an absolute position in a ring of 4096 bytes (low 8 bits in the first byte,
// high 4 bits in the upper half of the second; the lower half is the length less 3). The ring
// starts filled with blanks, and the first byte expanded goes to position 4096 - 16.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillset {

// The largest file the format can hold: its size field has 32 bits.
constexpr std::uint64_t kSzddLargestFile = 0xFFFFFFFFu;

// The file's bytes in the format; `replacedCharacter` goes into the header (see
// szddCompressedName). data.size() must not exceed kSzddLargestFile.
std::vector<std::uint8_t> compressSzdd(const std::vector<std::uint8_t>& data, char replacedCharacter);

// The conventional name of a compressed file, as the system's tools make and read it: the last
// character of a name's extension of three or more characters is replaced by '_' ("setup.exe" ->
// "setup.ex_", the 'e' recorded in the header); a shorter extension gets a '_' appended ("a.c" ->
// "a.c_"), a name without extension "._" ("README" -> "README._"), both recording 0. The
// extension is what follows the name's last dot. `expand -r` restores the name from either.
struct SzddName {
    std::string name;
    char replacedCharacter = 0;
};
SzddName szddCompressedName(const std::string& name);

}  // namespace quillset
