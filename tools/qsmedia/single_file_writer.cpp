#include "single_file_writer.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

extern "C" {
#include "LzmaEnc.h"
}

#include "cp1252.h"
#include "payload_archive.h"
#include "payload_format.h"
#include "sha256.h"

namespace fs = std::filesystem;

namespace quillset {

namespace {

// The dictionary: 8 MiB as NSIS's LZMA takes by default, less for a smaller archive (the starter
// allocates all of it). The starter refuses more than kLargestDictionary.
constexpr std::uint32_t kDictionary = 8u << 20;

void* allocate(void*, size_t size) { return std::malloc(size); }
void release(void*, void* address) { std::free(address); }
ISzAlloc allocator = {allocate, release};

// The archive as the encoder reads it: the directory, then each file's bytes.
struct ArchiveInput {
    // What the encoder is handed, and hands back: the interface, then who serves it.
    struct Stream {
        ISeqInStream stream;
        ArchiveInput* self;
    };
    const std::vector<PackedFile>* files = nullptr;
    std::size_t next = 0;
    std::string pending;  // directory bytes not yet read
    std::size_t pendingAt = 0;
    std::ifstream file;
    std::uint64_t fileLeft = 0;
    std::string error;

    static SRes read(void* stream, void* buffer, size_t* size) {
        ArchiveInput& in = *static_cast<Stream*>(stream)->self;
        char* out = static_cast<char*>(buffer);
        size_t filled = 0;
        while (filled < *size) {
            if (in.pendingAt < in.pending.size()) {
                const size_t take = std::min(*size - filled, in.pending.size() - in.pendingAt);
                std::copy_n(in.pending.data() + in.pendingAt, take, out + filled);
                in.pendingAt += take;
                filled += take;
            } else if (in.fileLeft > 0) {
                const size_t take = static_cast<size_t>(std::min<std::uint64_t>(*size - filled, in.fileLeft));
                in.file.read(out + filled, static_cast<std::streamsize>(take));
                if (static_cast<size_t>(in.file.gcount()) != take) {
                    in.error = (*in.files)[in.next - 1].source.string() + " is shorter than it was: it changed meanwhile";
                    return SZ_ERROR_READ;
                }
                in.fileLeft -= take;
                filled += take;
            } else if (in.next < in.files->size()) {
                const PackedFile& packed = (*in.files)[in.next++];
                in.file = std::ifstream(packed.source, std::ios::binary);
                if (!in.file) {
                    in.error = packed.source.string() + " cannot be read";
                    return SZ_ERROR_READ;
                }
                in.fileLeft = packed.size;
            } else {
                break;  // the end of the archive
            }
        }
        *size = filled;
        return SZ_OK;
    }
};

// The packed stream, written to the file and hashed on its way.
struct PackedOutput {
    struct Stream {
        ISeqOutStream stream;
        PackedOutput* self;
    };
    std::ofstream* file = nullptr;
    Sha256* sha256 = nullptr;
    std::uint64_t written = 0;
    bool failed = false;

    static size_t write(void* stream, const void* data, size_t size) {
        PackedOutput& out = *static_cast<Stream*>(stream)->self;
        out.file->write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!*out.file || !out.sha256->add(data, size)) {
            out.failed = true;
            return 0;
        }
        out.written += size;
        return size;
    }
};

bool encode(std::ofstream& file, const std::vector<PackedFile>& files, const std::string& directory,
            std::uint64_t unpackedSize, PayloadHeader& header, Sha256& sha256, std::string& error) {
    CLzmaEncProps properties;
    LzmaEncProps_Init(&properties);
    properties.level = 9;
    // Longer matches looked for than level 9's 64 bytes: on a product's programs, text and
    // pictures 128 gave the smallest files of the lengths tried (0.05 to 0.1 % below 64; 273 gave
    // no gain on the larger payloads). The starter's decoding is the same whatever the length.
    properties.fb = 128;
    std::uint32_t dictionary = 1u << 12;
    while (dictionary < kDictionary && dictionary < unpackedSize) dictionary <<= 1;
    properties.dictSize = dictionary;
    properties.writeEndMark = 1;  // the starter checks that the stream ends where the archive does
    properties.numThreads = 1;
    LzmaEncProps_Normalize(&properties);

    const CLzmaEncHandle encoder = LzmaEnc_Create(&allocator);
    if (encoder == nullptr) return (error = "out of memory for the LZMA encoder", false);
    SizeT propertiesSize = kLzmaPropertiesSize;
    ArchiveInput input;
    input.files = &files;
    input.pending = directory;
    ArchiveInput::Stream inputStream{{ArchiveInput::read}, &input};
    PackedOutput output;
    output.file = &file;
    output.sha256 = &sha256;
    PackedOutput::Stream outputStream{{PackedOutput::write}, &output};
    SRes result = LzmaEnc_SetProps(encoder, &properties);
    if (result == SZ_OK) result = LzmaEnc_WriteProperties(encoder, header.lzmaProperties, &propertiesSize);
    if (result == SZ_OK) result = LzmaEnc_Encode(encoder, &outputStream.stream, &inputStream.stream, nullptr, &allocator, &allocator);
    LzmaEnc_Destroy(encoder, &allocator, &allocator);
    if (!input.error.empty()) return (error = input.error, false);
    if (output.failed) return (error = "writing failed", false);
    if (result != SZ_OK) return (error = "the LZMA encoder failed (error " + std::to_string(result) + ")", false);
    header.packedSize = output.written;
    header.unpackedSize = unpackedSize;
    return true;
}

}  // namespace

bool listMediumFiles(const fs::path& medium, std::vector<PackedFile>& files, std::string& error) {
    files.clear();
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(medium)) {
        if (entry.is_directory()) continue;
        std::string name = utf8ToCp1252(entry.path().lexically_relative(medium).generic_u8string());
        std::replace(name.begin(), name.end(), '/', '\\');
        if (!entry.is_regular_file() || !safeArchiveName(name))
            return (error = entry.path().string() + " cannot go into the single file", false);
        files.push_back({name, entry.path(), entry.file_size()});
    }
    std::sort(files.begin(), files.end(), [](const PackedFile& a, const PackedFile& b) { return a.name < b.name; });
    return true;
}

bool writeSingleFile(const fs::path& starter, const std::vector<PackedFile>& files, const std::string& appName,
                     const fs::path& output, SingleFileFigures& figures, std::string& error) {
    std::ifstream starterFile(starter, std::ios::binary);
    if (!starterFile) return (error = starter.string() + " cannot be read", false);
    // The starter finds its payload where its last section ends: a program with more behind its
    // sections (the symbol table of a build with debugging information, a signature) would make a
    // file that calls itself damaged at every start.
    std::uint8_t head[4096];
    starterFile.read(reinterpret_cast<char*>(head), sizeof head);
    const std::uint64_t starterSize = fs::file_size(starter);
    PayloadBounds bounds;
    if (findPayloadBounds(head, static_cast<std::size_t>(starterFile.gcount()), starterSize, bounds) &&
        bounds.start != starterSize)
        return (error = starter.string() + " holds " + std::to_string(starterSize - bounds.start) +
                        " bytes behind its last section (symbols or a signature): give --programs a release build's "
                        "folder",
                false);
    starterFile.clear();
    starterFile.seekg(0);
    std::string directory;
    std::uint64_t unpackedSize = 0;
    for (const PackedFile& file : files) {
        directory += encodeArchiveEntry(file.name, file.size);
        unpackedSize += file.size;
    }
    directory += encodeArchiveEnd();
    if (directory.size() > kLargestArchiveDirectory)
        return (error = "too many files for one download (their names take " + std::to_string(directory.size()) +
                        " bytes, at most " + std::to_string(kLargestArchiveDirectory) + ")",
                false);
    unpackedSize += directory.size();

    PayloadHeader header;
    header.appName = appName.substr(0, 255);
    // Written next to the output and renamed at the end: a failure leaves no half-written program.
    const fs::path partial = output.string() + ".partial";
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return (error = partial.string() + " cannot be written", false);
    out << starterFile.rdbuf();
    const std::uint64_t headerAt = static_cast<std::uint64_t>(out.tellp());
    out << encodePayloadHeader(header);  // the lengths and the hash follow once they are known

    PlatformSha256 sha256;
    bool written = sha256.begin() && encode(out, files, directory, unpackedSize, header, sha256, error);
    if (written) {
        const std::string prefix = encodePayloadHeaderPrefix(header);
        written = sha256.add(prefix.data(), prefix.size()) && sha256.finish(header.sha256);
        if (!written) error = "SHA-256 failed";
    }
    if (written) {
        out.seekp(static_cast<std::streamoff>(headerAt));
        out << encodePayloadHeader(header);
        out.seekp(0, std::ios::end);
        figures = {unpackedSize, header.packedSize, static_cast<std::uint64_t>(out.tellp())};
        out.close();
        written = !out.fail();
        if (!written) error = partial.string() + " cannot be written";
    }
    std::error_code renameError, ignored;
    if (written) fs::rename(partial, output, renameError);
    if (!written || renameError) {
        if (written) error = output.string() + " cannot be written: " + renameError.message();
        fs::remove(partial, ignored);
        return false;
    }
    return true;
}

}  // namespace quillset
