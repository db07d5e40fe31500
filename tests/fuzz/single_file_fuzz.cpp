// What the single-file starter reads from its own file, which a download may have damaged and an
// attacker may have made: the first byte chooses the reader.
//   0  the whole file: the PE headers, the payload header, the lengths, the hash (checkPayload)
//   1  an LZMA stream as the ".lzma" format stores it (five properties, the unpacked size in
//      8 bytes, the stream): the unpacker, in pieces, with every name it hands on checked
//   2  the archive itself, in pieces
// Whatever the input, nothing may be written outside the unpacking folder: every name handed to
// the sink must be safe.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "payload_archive.h"
#include "payload_format.h"
#include "payload_unpacker.h"
#include "sha256.h"

using namespace quillset;

namespace {

class MemoryFile final : public PayloadFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* into, std::size_t size) override {
        if (offset > size_ || size > size_ - offset) return false;
        if (size > 0) std::memcpy(into, data_ + offset, size);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A name below the unpacking folder, checked apart from the reader's own rule: no drive, no root,
// no empty, "." or ".." component, no other separator.
bool staysInside(const std::string& name) {
    if (name.empty() || name.find_first_of(":/") != std::string::npos) return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('\\', start);
        const std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

// Checks every name and counts the bytes of each file against its declared size.
class CheckingSink final : public ArchiveSink {
public:
    bool beginFile(const std::string& name, std::uint64_t size) override {
        if (!staysInside(name) || open_) std::abort();
        open_ = true;
        left_ = size;
        return true;
    }
    bool writeFile(const std::uint8_t*, std::size_t size) override {
        if (!open_ || size > left_) std::abort();
        left_ -= size;
        return true;
    }
    bool endFile() override {
        if (!open_ || left_ != 0) std::abort();
        open_ = false;
        return true;
    }

private:
    bool open_ = false;
    std::uint64_t left_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t mode = data[0] % 3;
    ++data;
    --size;
    // Pieces of a size the input chooses, as reads and the decoder hand them on.
    const std::size_t piece = size > 0 ? 1 + data[size - 1] % 61 : 1;
    CheckingSink sink;
    if (mode == 0) {
        MemoryFile file(data, size);
        PlatformSha256 sha256;
        CheckedPayload checked;
        if (checkPayload(file, sha256, checked) &&
            checked.packedOffset + checked.header.packedSize > size)
            std::abort();  // a payload said to lie beyond the file
    } else if (mode == 1) {
        if (size < 13) return 0;
        std::uint64_t unpackedSize = 0;
        for (int i = 12; i >= 5; --i) unpackedSize = unpackedSize << 8 | data[i];
        PayloadUnpacker unpacker;
        PayloadUnpacker::Status status = unpacker.begin(data, unpackedSize);
        for (std::size_t at = 13; status == PayloadUnpacker::Status::more && at < size; at += piece) {
            const std::size_t take = piece < size - at ? piece : size - at;
            status = unpacker.add(data + at, take, at + take == size, sink);
            if (unpacker.unpacked() > unpackedSize) std::abort();  // more than the header allows
        }
    } else {
        ArchiveReader reader;
        for (std::size_t at = 0; at < size; at += piece) {
            const std::size_t take = piece < size - at ? piece : size - at;
            if (reader.add(data + at, take, sink) != ArchiveReader::Status::more) break;
        }
    }
    return 0;
}
