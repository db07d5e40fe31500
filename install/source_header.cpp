#include "source_header.h"

#include <cstring>

namespace quillset {

bool mayBeCompressed(const std::uint8_t* bytes, std::size_t count) {
    // Only the four letters: whether a file that has them is really compressed (the rest of the
    // signature, a damaged header) is for the platform to say.
    static const char* const kSignatures[] = {"SZDD", "KWAJ", "MSCF"};
    if (count < 4) return false;
    for (const char* signature : kSignatures)
        if (std::memcmp(bytes, signature, 4) == 0) return true;
    return false;
}

}  // namespace quillset
