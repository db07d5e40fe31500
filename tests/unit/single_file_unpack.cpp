// single_file_unpack FILE.exe FOLDER: what the starter does with a single-file installer, natively
// and without running anything: the payload checked (lengths and SHA-256), then unpacked into
// FOLDER (which must not exist) with the starter's own reader. The tests look at what a single
// file carries through it (the signed programs inside a signed one).
// Exit status: 0 unpacked; 1 the file is damaged or holds no payload; 2 FOLDER cannot be written;
// 64 wrong command line.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "payload_archive.h"
#include "payload_format.h"
#include "payload_unpacker.h"
#include "sha256.h"

using namespace quillset;

namespace {

class StreamFile final : public PayloadFile {
public:
    explicit StreamFile(const char* path) : in_(path, std::ios::binary) {
        in_.seekg(0, std::ios::end);
        size_ = in_ ? static_cast<std::uint64_t>(in_.tellg()) : 0;
    }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* into, std::size_t size) override {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
        return in_.gcount() == static_cast<std::streamsize>(size);
    }

private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

// Writes each file below the folder; the archive's names use backslashes, and the reader has
// refused every name that would leave the folder.
class FolderSink final : public ArchiveSink {
public:
    explicit FolderSink(std::string folder) : folder_(std::move(folder)) {}
    bool beginFile(const std::string& name, std::uint64_t) override {
        std::string path = folder_;
        for (std::size_t start = 0;;) {
            const std::size_t end = name.find('\\', start);
            path += "/" + name.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (end == std::string::npos) break;
            if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
            start = end + 1;
        }
        out_.open(path, std::ios::binary | std::ios::trunc);
        return static_cast<bool>(out_);
    }
    bool writeFile(const std::uint8_t* data, std::size_t size) override {
        out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return static_cast<bool>(out_);
    }
    bool endFile() override {
        out_.close();
        return !out_.fail();
    }

private:
    std::string folder_;
    std::ofstream out_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: single_file_unpack FILE.exe FOLDER\n");
        return 64;
    }
    StreamFile file(argv[1]);
    PlatformSha256 sha256;
    CheckedPayload payload;
    if (!checkPayload(file, sha256, payload)) {
        std::fprintf(stderr, "single_file_unpack: %s: no payload, or a damaged one\n", argv[1]);
        return 1;
    }
    if (mkdir(argv[2], 0755) != 0) {
        std::fprintf(stderr, "single_file_unpack: %s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }
    FolderSink sink(argv[2]);
    const PayloadUnpacker::Status status = unpackPayload(file, payload, sink);
    if (status == PayloadUnpacker::Status::finished) return 0;
    std::fprintf(stderr, "single_file_unpack: %s: %s\n", argv[1],
                 status == PayloadUnpacker::Status::sinkFailed ? "a file could not be written" : "the payload is damaged");
    return status == PayloadUnpacker::Status::sinkFailed ? 2 : 1;
}
