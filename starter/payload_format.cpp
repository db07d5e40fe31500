#include "payload_format.h"

#include <cstring>

namespace quillset {

namespace {

std::uint64_t readLittleEndian(const std::uint8_t* data, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | data[i];
    return value;
}

void appendLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// The dictionary size the LZMA properties name (bytes 1 to 4).
std::uint32_t dictionarySize(const std::uint8_t properties[kLzmaPropertiesSize]) {
    return static_cast<std::uint32_t>(readLittleEndian(properties + 1, 4));
}

}  // namespace

std::string encodePayloadHeaderPrefix(const PayloadHeader& header) {
    std::string out(kPayloadMagic, sizeof kPayloadMagic);
    appendLittleEndian(out, header.packedSize, 8);
    appendLittleEndian(out, header.unpackedSize, 8);
    out.append(reinterpret_cast<const char*>(header.lzmaProperties), kLzmaPropertiesSize);
    const std::size_t nameSize = header.appName.size() < 255 ? header.appName.size() : 255;
    out.push_back(static_cast<char>(nameSize));
    out.append(header.appName, 0, nameSize);
    return out;
}

std::string encodePayloadHeader(const PayloadHeader& header) {
    return encodePayloadHeaderPrefix(header) + std::string(reinterpret_cast<const char*>(header.sha256), kSha256Size);
}

bool findPayloadBounds(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize, PayloadBounds& bounds) {
    if (headSize < 0x40 || head[0] != 'M' || head[1] != 'Z') return false;
    const std::uint64_t pe = readLittleEndian(head + 0x3C, 4);
    if (pe + 24 > headSize || std::memcmp(head + pe, "PE\0\0", 4) != 0) return false;
    const std::uint64_t sections = readLittleEndian(head + pe + 6, 2);
    const std::uint64_t optionalSize = readLittleEndian(head + pe + 20, 2);
    const std::uint64_t optional = pe + 24;
    if (optional + optionalSize > headSize || optionalSize < 2) return false;
    // The data directories follow the optional header's fixed part, which is longer in PE32+.
    const std::uint64_t magic = readLittleEndian(head + optional, 2);
    std::uint64_t directories;
    if (magic == 0x10B) directories = 96;
    else if (magic == 0x20B) directories = 112;
    else return false;
    std::uint64_t certificateOffset = 0, certificateSize = 0;
    const std::uint64_t securityEntry = directories + 4 * 8;  // the fifth directory: the certificate table
    if (securityEntry + 8 <= optionalSize && readLittleEndian(head + optional + directories - 4, 4) > 4) {
        certificateOffset = readLittleEndian(head + optional + securityEntry, 4);
        certificateSize = readLittleEndian(head + optional + securityEntry + 4, 4);
    }

    const std::uint64_t table = optional + optionalSize;
    if (sections == 0 || table + sections * 40 > headSize) return false;
    std::uint64_t end = 0;
    for (std::uint64_t i = 0; i < sections; ++i) {
        const std::uint8_t* section = head + table + i * 40;
        const std::uint64_t rawSize = readLittleEndian(section + 16, 4);
        const std::uint64_t rawOffset = readLittleEndian(section + 20, 4);
        if (rawSize != 0 && rawOffset + rawSize > end) end = rawOffset + rawSize;
    }
    bounds.start = end;
    bounds.end = fileSize;
    if (certificateSize != 0) {
        if (certificateOffset + certificateSize != fileSize) return false;  // the table is always last
        bounds.end = certificateOffset;
    }
    return bounds.start <= bounds.end && bounds.end <= fileSize;
}

bool decodePayloadHeader(const std::uint8_t* data, std::size_t size, PayloadHeader& header, std::size_t& headerSize) {
    if (size < kPayloadHeaderFixedSize || std::memcmp(data, kPayloadMagic, sizeof kPayloadMagic) != 0) return false;
    header.packedSize = readLittleEndian(data + 8, 8);
    header.unpackedSize = readLittleEndian(data + 16, 8);
    std::memcpy(header.lzmaProperties, data + 24, kLzmaPropertiesSize);
    const std::size_t nameSize = data[kPayloadHeaderFixedSize - 1];
    headerSize = kPayloadHeaderFixedSize + nameSize + kSha256Size;
    if (size < headerSize) return false;
    header.appName.assign(reinterpret_cast<const char*>(data + kPayloadHeaderFixedSize), nameSize);
    std::memcpy(header.sha256, data + kPayloadHeaderFixedSize + nameSize, kSha256Size);
    // lc + lp * 9 + pb * 45 is below 225 in every LZMA stream; a larger dictionary than qsmedia
    // writes would only make the starter ask for memory a damaged header names.
    return header.lzmaProperties[0] < 9 * 5 * 5 && dictionarySize(header.lzmaProperties) <= kLargestDictionary;
}

bool checkPayload(PayloadFile& file, Sha256& sha256, CheckedPayload& checked, HashProgress progress,
                  void* progressContext) {
    std::uint8_t head[4096];
    const std::uint64_t fileSize = file.size();
    const std::size_t headSize = fileSize < sizeof head ? static_cast<std::size_t>(fileSize) : sizeof head;
    PayloadBounds bounds;
    if (!file.read(0, head, headSize) || !findPayloadBounds(head, headSize, fileSize, bounds)) return false;

    std::uint8_t headerBytes[kPayloadHeaderMaxSize];
    const std::uint64_t room = bounds.end - bounds.start;
    const std::size_t available = room < sizeof headerBytes ? static_cast<std::size_t>(room) : sizeof headerBytes;
    std::size_t headerSize = 0;
    PayloadHeader& header = checked.header;
    if (!file.read(bounds.start, headerBytes, available) ||
        !decodePayloadHeader(headerBytes, available, header, headerSize))
        return false;
    // The stream must fill the room after the header, but for the padding a signature brings.
    const std::uint64_t streamRoom = room - headerSize;
    if (header.packedSize > streamRoom || streamRoom - header.packedSize > kLargestPadding) return false;
    checked.packedOffset = bounds.start + headerSize;

    std::uint8_t block[1 << 16];
    if (!sha256.begin()) return false;
    for (std::uint64_t done = 0; done < header.packedSize;) {
        const std::uint64_t left = header.packedSize - done;
        const std::size_t chunk = left < sizeof block ? static_cast<std::size_t>(left) : sizeof block;
        if (!file.read(checked.packedOffset + done, block, chunk) || !sha256.add(block, chunk)) return false;
        done += chunk;
        if (progress != nullptr) progress(progressContext, done, header.packedSize);
    }
    // The padding is zeros, or it is damage.
    const std::uint64_t paddingSize = streamRoom - header.packedSize;
    std::uint8_t padding[kLargestPadding] = {};
    if (paddingSize > 0 && !file.read(checked.packedOffset + header.packedSize, padding, static_cast<std::size_t>(paddingSize))) return false;
    for (std::uint64_t i = 0; i < paddingSize; ++i)
        if (padding[i] != 0) return false;

    std::uint8_t digest[kSha256Size];
    if (!sha256.add(headerBytes, headerSize - kSha256Size) || !sha256.finish(digest)) return false;
    return std::memcmp(digest, header.sha256, kSha256Size) == 0;
}

}  // namespace quillset
