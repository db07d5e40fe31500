// Screenshots as PNG files: stb_image_write's encoder (it picks each row's filter) with zlib's
// deflate at its best compression, so a page picture is tens of kilobytes. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillset::robot {

// Encodes width x height pixels given row by row from the top, 3 bytes (red, green, blue) each;
// empty when the encoder fails.
std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

// Writes encodePng's bytes to a file; returns false if the file cannot be written.
bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace quillset::robot
