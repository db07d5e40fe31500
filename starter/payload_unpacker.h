// Unpacks a payload's packed stream: the LZMA SDK's decoder turns it back into the archive, and
// the archive reader hands the files to a sink. Portable; the starter feeds it from its own file
// on its worker thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "payload_archive.h"
#include "payload_format.h"

namespace quillset {

class PayloadUnpacker {
public:
    enum class Status {
        more,         // all taken; more of the stream is needed
        finished,     // the archive is complete and the stream ended with it
        damaged,      // the stream or the archive in it is not what the header says
        sinkFailed,   // the sink refused a file
        outOfMemory,  // the decoder's dictionary could not be had
    };

    PayloadUnpacker();
    ~PayloadUnpacker();
    PayloadUnpacker(const PayloadUnpacker&) = delete;
    PayloadUnpacker& operator=(const PayloadUnpacker&) = delete;

    // Prepares the decoder for a stream with these properties, decoding to `unpackedSize` bytes.
    Status begin(const std::uint8_t properties[kLzmaPropertiesSize], std::uint64_t unpackedSize);
    // Takes the next piece of the packed stream; `last` says that no more follows.
    Status add(const std::uint8_t* packed, std::size_t size, bool last, ArchiveSink& sink);
    std::uint64_t unpacked() const { return unpacked_; }

private:
    struct Decoder;
    Decoder* decoder_;
    ArchiveReader archive_;
    std::uint64_t unpackedSize_ = 0;
    std::uint64_t unpacked_ = 0;
    bool ready_ = false;
};

// Reads the checked payload's packed stream from `file` block by block and unpacks it into `sink`.
// The file was checked, but it is read again: a read that fails now is damage too. `carryOn`, when
// given, is asked before each block; when it says no, the unpacking stops there with
// Status::more.
PayloadUnpacker::Status unpackPayload(PayloadFile& file, const CheckedPayload& payload, ArchiveSink& sink,
                                      bool (*carryOn)(void* context) = nullptr, void* context = nullptr);

}  // namespace quillset
