#include <openssl/evp.h>

#include "sha256.h"

namespace quillset {

namespace {

// handles_[0]: the digest context.
EVP_MD_CTX* context(std::uintptr_t handle) { return reinterpret_cast<EVP_MD_CTX*>(handle); }

}  // namespace

PlatformSha256::~PlatformSha256() { release(); }

void PlatformSha256::release() {
    if (handles_[0] != 0) EVP_MD_CTX_free(context(handles_[0]));
    handles_[0] = 0;
}

bool PlatformSha256::begin() {
    release();
    EVP_MD_CTX* created = EVP_MD_CTX_new();
    if (created == nullptr) return false;
    handles_[0] = reinterpret_cast<std::uintptr_t>(created);
    return EVP_DigestInit_ex(created, EVP_sha256(), nullptr) == 1;
}

bool PlatformSha256::add(const void* data, std::size_t size) {
    return handles_[0] != 0 && EVP_DigestUpdate(context(handles_[0]), data, size) == 1;
}

bool PlatformSha256::finish(std::uint8_t digest[kSha256Size]) {
    unsigned size = 0;
    const bool done = handles_[0] != 0 && EVP_DigestFinal_ex(context(handles_[0]), digest, &size) == 1 && size == kSha256Size;
    release();
    return done;
}

}  // namespace quillset
