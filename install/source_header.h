// What the first bytes of a source file tell about its storage.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillset {

// How many leading bytes `mayBeCompressed` looks at.
constexpr std::size_t kSourceHeaderBytes = 8;

// Whether a source that begins with these bytes (`count` of them, fewer for a short file) may be
// stored compressed: the platform's installer and its size query recognise the LZ library's files
// ("SZDD", and the older "KWAJ") and cabinets ("MSCF") by their first four bytes. Any other source
// is stored as it is, and its size is its installed size.
bool mayBeCompressed(const std::uint8_t* bytes, std::size_t count);

}  // namespace quillset
