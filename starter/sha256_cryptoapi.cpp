#include <windows.h>
#include <wincrypt.h>

#include "sha256.h"

namespace quillset {

namespace {

// CALG_SHA_256, which the headers declare for Windows XP SP3 and later only (the builds name XP):
// the AES provider of XP SP3 knows it.
constexpr ALG_ID kSha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

}  // namespace

PlatformSha256::~PlatformSha256() { release(); }

// handles_[0]: the provider, handles_[1]: the hash object.
void PlatformSha256::release() {
    if (handles_[1] != 0) CryptDestroyHash(handles_[1]);
    if (handles_[0] != 0) CryptReleaseContext(handles_[0], 0);
    handles_[0] = handles_[1] = 0;
}

bool PlatformSha256::begin() {
    release();
    // The AES provider is the one that knows SHA-256; no key container is needed to hash.
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return false;
    handles_[0] = provider;
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider, kSha256, 0, 0, &hash)) return false;
    handles_[1] = hash;
    return true;
}

bool PlatformSha256::add(const void* data, std::size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (handles_[1] == 0 || !CryptHashData(handles_[1], bytes, chunk, 0)) return false;
        bytes += chunk;
        size -= chunk;
    }
    return handles_[1] != 0;
}

bool PlatformSha256::finish(std::uint8_t digest[kSha256Size]) {
    DWORD size = kSha256Size;
    const bool done = handles_[1] != 0 && CryptGetHashParam(handles_[1], HP_HASHVAL, digest, &size, 0) && size == kSha256Size;
    release();
    return done;
}

}  // namespace quillset
