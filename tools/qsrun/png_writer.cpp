#include "png_writer.h"

#include <cstdio>
#include <cstdlib>

#include <zlib.h>

namespace {

// stb_image_write's own deflate is simple and weak; it takes zlib's instead through this hook,
// which must return a buffer from malloc (the encoder frees it).
unsigned char* zlibCompress(unsigned char* data, int size, int* compressedSize, int /*quality*/) {
    uLongf bound = compressBound(static_cast<uLong>(size));
    unsigned char* out = static_cast<unsigned char*>(std::malloc(bound));
    if (out == nullptr) return nullptr;
    if (compress2(out, &bound, data, static_cast<uLong>(size), Z_BEST_COMPRESSION) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *compressedSize = static_cast<int>(bound);
    return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS zlibCompress
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace quillset::robot {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* png = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    png->insert(png->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> encodePng(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> png;
    if (width <= 0 || height <= 0 || rgb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return png;
    if (!stbi_write_png_to_func(appendBytes, &png, width, height, 3, rgb.data(), width * 3)) png.clear();
    return png;
}

bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    const std::vector<std::uint8_t> png = encodePng(width, height, rgb);
    if (png.empty()) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace quillset::robot
