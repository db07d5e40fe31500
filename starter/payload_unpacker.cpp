#include "payload_unpacker.h"

#include <cstdlib>
#include <vector>

extern "C" {
#include "LzmaDec.h"
}

namespace quillset {

namespace {

void* allocate(void*, size_t size) { return std::malloc(size); }
void release(void*, void* address) { std::free(address); }
ISzAlloc allocator = {allocate, release};

}  // namespace

struct PayloadUnpacker::Decoder {
    CLzmaDec state;
    Byte output[1 << 16];
};

PayloadUnpacker::PayloadUnpacker() : decoder_(static_cast<Decoder*>(std::malloc(sizeof(Decoder)))) {
    if (decoder_ != nullptr) LzmaDec_Construct(&decoder_->state);
}

PayloadUnpacker::~PayloadUnpacker() {
    if (decoder_ == nullptr) return;
    LzmaDec_Free(&decoder_->state, &allocator);
    std::free(decoder_);
}

PayloadUnpacker::Status PayloadUnpacker::begin(const std::uint8_t properties[kLzmaPropertiesSize],
                                               std::uint64_t unpackedSize) {
    if (decoder_ == nullptr) return Status::outOfMemory;
    // The header's check refuses a larger dictionary already; the decoder must never ask for one.
    std::uint32_t dictionary = 0;
    for (int i = 4; i >= 1; --i) dictionary = dictionary << 8 | properties[i];
    if (dictionary > kLargestDictionary) return Status::damaged;
    const SRes result = LzmaDec_Allocate(&decoder_->state, properties, LZMA_PROPS_SIZE, &allocator);
    if (result == SZ_ERROR_MEM) return Status::outOfMemory;
    if (result != SZ_OK) return Status::damaged;
    LzmaDec_Init(&decoder_->state);
    unpackedSize_ = unpackedSize;
    unpacked_ = 0;
    archive_ = ArchiveReader();
    ready_ = true;
    return Status::more;
}

PayloadUnpacker::Status PayloadUnpacker::add(const std::uint8_t* packed, std::size_t size, bool last,
                                             ArchiveSink& sink) {
    if (!ready_) return Status::damaged;
    for (;;) {
        // Never more output than the header promises; once it is all there, the stream's end mark
        // must follow, and nothing after it.
        const std::uint64_t wanted = unpackedSize_ - unpacked_;
        const bool toEnd = wanted <= sizeof decoder_->output;
        SizeT outputSize = toEnd ? static_cast<SizeT>(wanted) : sizeof decoder_->output;
        SizeT inputSize = size;
        ELzmaStatus status;
        const SRes result = LzmaDec_DecodeToBuf(&decoder_->state, decoder_->output, &outputSize, packed, &inputSize,
                                                toEnd ? LZMA_FINISH_END : LZMA_FINISH_ANY, &status);
        packed += inputSize;
        size -= inputSize;
        unpacked_ += outputSize;
        if (result != SZ_OK) return Status::damaged;
        switch (archive_.add(decoder_->output, outputSize, sink)) {
            case ArchiveReader::Status::malformed: return Status::damaged;
            case ArchiveReader::Status::sinkFailed: return Status::sinkFailed;
            default: break;
        }
        if (status == LZMA_STATUS_FINISHED_WITH_MARK) {
            const bool complete = unpacked_ == unpackedSize_ && archive_.finished() && size == 0 && last;
            return complete ? Status::finished : Status::damaged;
        }
        if (size == 0) return last ? Status::damaged : Status::more;
        if (inputSize == 0 && outputSize == 0) return Status::damaged;  // no progress: it cannot go on
    }
}

PayloadUnpacker::Status unpackPayload(PayloadFile& file, const CheckedPayload& payload, ArchiveSink& sink,
                                      bool (*carryOn)(void* context), void* context) {
    constexpr std::size_t kReadBlock = 1 << 16;
    const PayloadHeader& header = payload.header;
    PayloadUnpacker unpacker;
    PayloadUnpacker::Status status = unpacker.begin(header.lzmaProperties, header.unpackedSize);
    // On the heap: a static block would take its size in the starter's program file.
    std::vector<std::uint8_t> block(kReadBlock);
    for (std::uint64_t done = 0; status == PayloadUnpacker::Status::more;) {
        if (carryOn != nullptr && !carryOn(context)) break;
        const std::uint64_t left = header.packedSize - done;
        const std::size_t size = left < kReadBlock ? static_cast<std::size_t>(left) : kReadBlock;
        if (!file.read(payload.packedOffset + done, block.data(), size)) return PayloadUnpacker::Status::damaged;
        done += size;
        status = unpacker.add(block.data(), size, done == header.packedSize, sink);
    }
    return status;
}

}  // namespace quillset
