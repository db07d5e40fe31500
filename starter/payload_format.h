// The layout of a single-file installer: the starter program, then its payload, then (when the
// file is signed) the Authenticode signature, which the system puts at the very end.
//
//   starter program   the PE file's headers and sections, as the linker wrote them
//   payload header    "QSSINGLE", packed size (8 bytes), unpacked size (8), the five LZMA
//                     properties, the application's name (one length byte and code page 1252
//                     text), then SHA-256 of the packed stream followed by the header's bytes
//                     before the hash
//   packed stream     one LZMA stream (no end mark) of the archive (payload_archive.h)
//   up to 7 zeros     the padding a signing tool adds before the signature
//   signature         the PE file's certificate table, named by its security directory
//
// The payload starts where the PE file's last section ends, and ends where the certificate table
// starts (or at the end of the file): the starter finds it without a trailer, also in a signed
// file. Numbers are little-endian. Everything here is portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillset {

constexpr char kPayloadMagic[8] = {'Q', 'S', 'S', 'I', 'N', 'G', 'L', 'E'};
constexpr std::size_t kLzmaPropertiesSize = 5;
constexpr std::size_t kSha256Size = 32;
// The header's fixed part before the name: magic, packed size, unpacked size, properties, name length.
constexpr std::size_t kPayloadHeaderFixedSize = 8 + 8 + 8 + kLzmaPropertiesSize + 1;
constexpr std::size_t kPayloadHeaderMaxSize = kPayloadHeaderFixedSize + 255 + kSha256Size;
// The largest LZMA dictionary the starter accepts; qsmedia writes 8 MiB at most, so that the
// starter's memory stays far below 32 MiB whatever the payload's size.
constexpr std::uint32_t kLargestDictionary = 16u << 20;
// The padding a signing tool may put between the payload and the signature (8-byte alignment).
constexpr std::uint64_t kLargestPadding = 7;

struct PayloadHeader {
    std::uint64_t packedSize = 0;
    std::uint64_t unpackedSize = 0;
    std::uint8_t lzmaProperties[kLzmaPropertiesSize] = {};
    std::string appName;  // code page 1252, at most 255 bytes
    std::uint8_t sha256[kSha256Size] = {};
};

// SHA-256 as the platform provides it (sha256.h has the implementations).
class Sha256 {
public:
    virtual ~Sha256() = default;
    virtual bool begin() = 0;
    virtual bool add(const void* data, std::size_t size) = 0;
    virtual bool finish(std::uint8_t digest[kSha256Size]) = 0;
};

// Reads bytes of the file the payload is in.
class PayloadFile {
public:
    virtual ~PayloadFile() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly `size` bytes from `offset`; false when they cannot be read.
    virtual bool read(std::uint64_t offset, void* into, std::size_t size) = 0;
};

// The header's bytes before the hash (the hash covers the packed stream, then these).
std::string encodePayloadHeaderPrefix(const PayloadHeader& header);
// The whole header, hash included.
std::string encodePayloadHeader(const PayloadHeader& header);

// Where the payload may lie in a PE file: from the end of its last section to the start of its
// certificate table or the end of the file. `head` holds the file's first bytes (its headers:
// 4096 bytes are enough for any file a linker writes). False when they are not a PE file's.
struct PayloadBounds {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};
bool findPayloadBounds(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize, PayloadBounds& bounds);

// The header at the start of `data`; false when it is not one (wrong magic, too short, a
// dictionary larger than the starter accepts). `headerSize` is its length.
bool decodePayloadHeader(const std::uint8_t* data, std::size_t size, PayloadHeader& header, std::size_t& headerSize);

// A payload whose lengths fit the file and whose hash matches.
struct CheckedPayload {
    PayloadHeader header;
    std::uint64_t packedOffset = 0;  // where the packed stream starts in the file
};

// Everything the starter checks before it unpacks a byte: the file is a PE file with a payload
// header where its sections end, the lengths fit between there and the signature (or the end of
// the file, with at most the signing tool's padding after the stream), and the SHA-256 of the
// packed stream and the header matches. False for a file that is truncated, damaged, or has no
// payload. `progress`, when given, hears of every block hashed (bytes so far, bytes in all).
using HashProgress = void (*)(void* context, std::uint64_t done, std::uint64_t total);
bool checkPayload(PayloadFile& file, Sha256& sha256, CheckedPayload& checked, HashProgress progress = nullptr,
                  void* progressContext = nullptr);

}  // namespace quillset
