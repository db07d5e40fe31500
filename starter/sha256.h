// SHA-256 from the platform: on Windows the system's CryptoAPI (advapi32, which every Windows
// takes from its own folder; SHA-256 from XP SP3 on), elsewhere OpenSSL's libcrypto. The starter
// checks its payload with it, qsmedia writes the hash with it.
#pragma once

#include <cstdint>

#include "payload_format.h"

namespace quillset {

class PlatformSha256 final : public Sha256 {
public:
    PlatformSha256() = default;
    ~PlatformSha256() override;
    PlatformSha256(const PlatformSha256&) = delete;
    PlatformSha256& operator=(const PlatformSha256&) = delete;

    bool begin() override;
    bool add(const void* data, std::size_t size) override;
    bool finish(std::uint8_t digest[kSha256Size]) override;

private:
    void release();
    // The platform's handles: CryptoAPI's provider and hash object, or OpenSSL's digest context alone.
    std::uintptr_t handles_[2] = {};
};

}  // namespace quillset
