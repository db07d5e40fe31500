// A small PNG encoder for screenshots: 8-bit RGB, no interlacing, the image data in stored
// (uncompressed) deflate blocks. Files are larger than compressed ones but every byte can be
// checked by hand, and nothing beyond the standard library is needed. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillset::robot {

// CRC-32 as PNG chunks use it (polynomial 0xEDB88320, initial and final inversion).
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

// Adler-32 as zlib streams end with it.
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);

// Encodes width x height pixels given row by row from the top, 3 bytes (red, green, blue) each.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// Writes encodePng's bytes to a file; returns false if the file cannot be written.
bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace quillset::robot
