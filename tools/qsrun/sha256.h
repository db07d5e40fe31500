// SHA-256 (FIPS 180-4) for the digests of installed files in qsrun's report. Portable.
#pragma once

#include <cstdint>
#include <string>

namespace quillset::qsrun {

class Sha256 {
public:
    Sha256();
    void add(const void* data, std::size_t size);
    // The digest as 64 lower-case hexadecimal digits; the object is used up.
    std::string hex();

private:
    void block(const std::uint8_t* data);
    std::uint32_t state_[8];
    std::uint8_t buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;  // bytes added
};

}  // namespace quillset::qsrun
