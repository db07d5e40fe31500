// The single-file installer's payload: qsmedia writes it, the starter's portable checks and
// unpacker read it back. Every damage a download can do (truncation, a changed byte, a length
// that lies) must be found before a byte is unpacked, or by the unpacker at the latest.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "payload_archive.h"
#include "payload_format.h"
#include "payload_unpacker.h"
#include "sha256.h"
#include "single_file_writer.h"

namespace fs = std::filesystem;

namespace quillset {
namespace {

using Bytes = std::string;

void putLittleEndian(Bytes& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

// The headers of a PE32 program with one section of 0x200 bytes at 0x200, as a linker writes them.
Bytes minimalProgram() {
    Bytes image(0x400, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    putLittleEndian(image, 0x3C, 0x80, 4);
    std::memcpy(&image[0x80], "PE\0\0", 4);
    putLittleEndian(image, 0x80 + 6, 1, 2);      // one section
    putLittleEndian(image, 0x80 + 20, 0xE0, 2);  // the optional header's size
    putLittleEndian(image, 0x98, 0x10B, 2);      // PE32
    putLittleEndian(image, 0x98 + 92, 16, 4);    // sixteen data directories
    const std::size_t section = 0x98 + 0xE0;
    std::memcpy(&image[section], ".text", 5);
    putLittleEndian(image, section + 16, 0x200, 4);
    putLittleEndian(image, section + 20, 0x200, 4);
    return image;
}

class MemoryFile final : public PayloadFile {
public:
    explicit MemoryFile(const Bytes& bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, void* into, std::size_t size) override {
        if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
        std::memcpy(into, bytes_.data() + offset, size);
        return true;
    }

private:
    const Bytes& bytes_;
};

class RecordingSink final : public ArchiveSink {
public:
    bool beginFile(const std::string& name, std::uint64_t) override {
        current_ = &files[name];
        return true;
    }
    bool writeFile(const std::uint8_t* data, std::size_t size) override {
        current_->append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool endFile() override { return true; }
    std::map<std::string, Bytes> files;

private:
    Bytes* current_ = nullptr;
};

bool checks(const Bytes& image, CheckedPayload* found = nullptr) {
    MemoryFile file(image);
    PlatformSha256 sha256;
    CheckedPayload checked;
    const bool ok = checkPayload(file, sha256, checked);
    if (found != nullptr) *found = checked;
    return ok;
}

// Unpacks a checked image, `block` bytes at a time, as the starter does.
PayloadUnpacker::Status unpack(const Bytes& image, RecordingSink& sink, std::size_t block = 1 << 16) {
    CheckedPayload checked;
    if (!checks(image, &checked)) return PayloadUnpacker::Status::damaged;
    PayloadUnpacker unpacker;
    PayloadUnpacker::Status status = unpacker.begin(checked.header.lzmaProperties, checked.header.unpackedSize);
    for (std::uint64_t done = 0; status == PayloadUnpacker::Status::more;) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(block, checked.header.packedSize - done));
        const auto* data = reinterpret_cast<const std::uint8_t*>(image.data() + checked.packedOffset + done);
        done += size;
        status = unpacker.add(data, size, done == checked.header.packedSize, sink);
    }
    return status;
}

// A header rewritten with its hash made to match again: a file whose lengths lie consistently.
Bytes rehashed(Bytes image, const PayloadHeader& header, std::uint64_t headerAt, std::uint64_t packedAt) {
    PayloadHeader changed = header;
    PlatformSha256 sha256;
    const std::string prefix = encodePayloadHeaderPrefix(changed);
    sha256.begin();
    sha256.add(image.data() + packedAt, header.packedSize);
    sha256.add(prefix.data(), prefix.size());
    sha256.finish(changed.sha256);
    const std::string bytes = encodePayloadHeader(changed);
    image.replace(headerAt, bytes.size(), bytes);
    return image;
}

class SingleFile : public ::testing::Test {
protected:
    void SetUp() override {
        work_ = fs::temp_directory_path() / ("qs-single-file-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(work_ / "medium" / "docs" / "deep");
        std::ofstream(work_ / "starter.exe", std::ios::binary) << minimalProgram();
        write("Setup.exe", "MZ the program");
        write("SetupScript.ini", "SetAppName(\"Demo\");\r\n");
        write("docs\\empty.txt", "");
        Bytes large;
        std::mt19937 random(7);
        for (int i = 0; i < 300000; ++i) large.push_back(static_cast<char>('a' + random() % 3));
        write("docs\\deep\\large.dat", large);
    }
    void TearDown() override { fs::remove_all(work_); }

    void write(const std::string& name, const Bytes& content) {
        std::string path = name;
        for (char& c : path) c = c == '\\' ? '/' : c;
        std::ofstream(work_ / "medium" / path, std::ios::binary) << content;
        expected_[name] = content;
    }

    Bytes pack(const fs::path& output) {
        std::vector<PackedFile> files;
        std::string error;
        EXPECT_TRUE(listMediumFiles(work_ / "medium", files, error)) << error;
        SingleFileFigures figures;
        EXPECT_TRUE(writeSingleFile(work_ / "starter.exe", files, "Demo", output, figures, error)) << error;
        std::ifstream in(output, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path work_;
    std::map<std::string, Bytes> expected_;
};

TEST_F(SingleFile, UnpacksWhatWasPackedInAnyBlockSizeAndTheSameTreeGivesTheSameBytes) {
    const Bytes image = pack(work_ / "one.exe");
    EXPECT_EQ(image, pack(work_ / "two.exe"));
    EXPECT_EQ(image.compare(0, 0x400, minimalProgram()), 0) << "the starter comes first, as it is";
    CheckedPayload checked;
    ASSERT_TRUE(checks(image, &checked));
    EXPECT_EQ(checked.header.appName, "Demo");
    EXPECT_EQ(checked.packedOffset, 0x400u + kPayloadHeaderFixedSize + 4 + kSha256Size);
    for (const std::size_t block : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 16}) {
        RecordingSink sink;
        EXPECT_EQ(unpack(image, sink, block), PayloadUnpacker::Status::finished) << block;
        EXPECT_EQ(sink.files, expected_) << block;
    }
}

TEST_F(SingleFile, FindsEveryTruncationChangedByteAndLyingLengthBeforeUnpacking) {
    const Bytes image = pack(work_ / "setup.exe");
    CheckedPayload checked;
    ASSERT_TRUE(checks(image, &checked));
    const std::size_t header = 0x400, name = header + kPayloadHeaderFixedSize, hash = name + 4,
                      stream = hash + kSha256Size, end = image.size();
    // Each part of the file: the program's headers, each field of the payload header, the stream.
    const struct {
        const char* part;
        std::size_t at;
    } parts[] = {{"PE signature", 0x80},   {"section size", 0x98 + 0xE0 + 16},
                 {"magic", header},        {"packed size", header + 8},
                 {"unpacked size", header + 16}, {"LZMA properties", header + 24},
                 {"name length", header + 29}, {"name", name},
                 {"hash", hash},           {"first byte of the stream", stream},
                 {"middle of the stream", (stream + end) / 2}, {"last byte", end - 1}};
    for (const auto& p : parts) {
        Bytes flipped = image;
        flipped[p.at] = static_cast<char>(flipped[p.at] ^ 0x01);
        EXPECT_FALSE(checks(flipped)) << "a changed byte in the " << p.part;
        EXPECT_FALSE(checks(image.substr(0, p.at))) << "truncated at the " << p.part;
    }
    EXPECT_FALSE(checks(image.substr(0, end - 1))) << "one byte short";
    EXPECT_FALSE(checks(image + '\1')) << "a byte more";
    EXPECT_FALSE(checks(image + std::string(8, '\0'))) << "more than a signing tool's padding";

    // Lengths that lie, with a hash made to match them: the checks or the unpacker refuse each.
    const PayloadHeader real = checked.header;
    const struct {
        const char* lie;
        std::uint64_t packed, unpacked;
    } lies[] = {{"packed size one short", real.packedSize - 1, real.unpackedSize},
                {"packed size one more", real.packedSize + 1, real.unpackedSize},
                {"packed size beyond the file", real.packedSize + (1ull << 40), real.unpackedSize},
                {"unpacked size one short", real.packedSize, real.unpackedSize - 1},
                {"unpacked size one more", real.packedSize, real.unpackedSize + 1},
                {"unpacked size huge", real.packedSize, ~0ull}};
    for (const auto& l : lies) {
        PayloadHeader lying = real;
        lying.packedSize = std::min<std::uint64_t>(l.packed, end - stream);  // what there is to hash
        lying.unpackedSize = l.unpacked;
        Bytes changed = rehashed(image, lying, header, stream);
        putLittleEndian(changed, header + 8, l.packed, 8);
        RecordingSink sink;
        EXPECT_TRUE(!checks(changed) || unpack(changed, sink) == PayloadUnpacker::Status::damaged) << l.lie;
    }
    // The unpacker's own check is what stops a lying unpacked size.
    PayloadHeader longer = real;
    longer.unpackedSize += 1;
    EXPECT_TRUE(checks(rehashed(image, longer, header, stream)));
}

TEST_F(SingleFile, FindsThePayloadBeforeASignatureAndItsPadding) {
    Bytes image = pack(work_ / "setup.exe");
    // As a signing tool leaves it: zeros to a multiple of 8, then the certificate table, which
    // the security directory names.
    const std::size_t padding = (8 - image.size() % 8) % 8;
    const std::size_t table = image.size() + padding;
    Bytes signedImage = image + std::string(padding, '\0') + std::string(64, 'C');
    const std::size_t security = 0x98 + 96 + 4 * 8;
    putLittleEndian(signedImage, security, table, 4);
    putLittleEndian(signedImage, security + 4, 64, 4);
    EXPECT_TRUE(checks(signedImage));
    RecordingSink sink;
    EXPECT_EQ(unpack(signedImage, sink), PayloadUnpacker::Status::finished);

    if (padding > 0) {
        Bytes dirty = signedImage;
        dirty[image.size()] = 'x';
        EXPECT_FALSE(checks(dirty)) << "padding that is not zeros";
    }
    Bytes notLast = signedImage + "more";
    EXPECT_FALSE(checks(notLast)) << "a certificate table that is not at the end";
    EXPECT_FALSE(checks(Bytes("MZ") + std::string(100, '\0'))) << "no PE file";
}

TEST(PayloadArchive, AcceptsOnlyNamesThatStayInTheirFolder) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {{"Setup.exe", true},         {"docs\\deep\\a b.txt", true}, {"caf\xE9.txt", true},
                 {"", false},                 {"..\\evil.exe", false},        {"docs\\..\\..\\x", false},
                 {".\\x", false},             {"\\rooted", false},            {"C:\\x", false},
                 {"C:x", false},              {"a\\\\b", false},              {"trailing\\", false},
                 {"a/b", false},              {"dot.", false},                {"blank ", false},
                 {"CON", false},              {"nul.txt", false},             {"docs\\com1", false},
                 {"lpt9.log", false},         {"COM0", true},                 {"console", true},
                 {"a\x01", false},            {"a?*", false}};
    for (const auto& c : cases) EXPECT_EQ(safeArchiveName(c.name), c.safe) << c.name;
    EXPECT_FALSE(safeArchiveName(std::string(260, 'a')));
    EXPECT_TRUE(safeArchiveName(std::string(259, 'a')));
}

TEST(PayloadArchive, ReadsTheDirectoryThenTheFilesWhateverThePieces) {
    const Bytes twoFiles = encodeArchiveEntry("a.txt", 3) + encodeArchiveEntry("sub\\b.txt", 2) + encodeArchiveEnd() + "abcde";
    const Bytes longNames = [] {
        Bytes directory;
        while (directory.size() <= kLargestArchiveDirectory) directory += encodeArchiveEntry(std::string(200, 'n'), 0);
        return directory;
    }();
    const struct {
        const char* what;
        Bytes bytes;
        ArchiveReader::Status status;
        std::map<std::string, Bytes> files;  // what the sink got, whatever the status
    } cases[] = {
        {"two files", twoFiles, ArchiveReader::Status::finished, {{"a.txt", "abc"}, {"sub\\b.txt", "de"}}},
        {"no file", encodeArchiveEnd(), ArchiveReader::Status::finished, {}},
        {"empty files", encodeArchiveEntry("e1", 0) + encodeArchiveEntry("e2", 0) + encodeArchiveEnd(),
         ArchiveReader::Status::finished, {{"e1", ""}, {"e2", ""}}},
        {"cut in the directory", twoFiles.substr(0, 12), ArchiveReader::Status::more, {}},
        {"cut in the second file", twoFiles.substr(0, twoFiles.size() - 1), ArchiveReader::Status::more,
         {{"a.txt", "abc"}, {"sub\\b.txt", "d"}}},
        {"nothing after the end", twoFiles + "x", ArchiveReader::Status::malformed,
         {{"a.txt", "abc"}, {"sub\\b.txt", "de"}}},
        {"nothing after an empty archive", encodeArchiveEnd() + "x", ArchiveReader::Status::malformed, {}},
        {"an unsafe name after a good one: no file begun",
         encodeArchiveEntry("a.txt", 1) + encodeArchiveEntry("..\\a", 0) + encodeArchiveEnd() + "a",
         ArchiveReader::Status::malformed, {}},
        {"a name too long", Bytes("\x04\x01", 2) + std::string(260, 'a'), ArchiveReader::Status::malformed, {}},
        {"a directory too large", longNames, ArchiveReader::Status::malformed, {}},
    };
    for (const auto& c : cases) {
        RecordingSink whole, bytewise;
        ArchiveReader wholeReader, bytewiseReader;
        EXPECT_EQ(wholeReader.add(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size(), whole), c.status)
            << c.what;
        EXPECT_EQ(whole.files, c.files) << c.what;
        ArchiveReader::Status status = ArchiveReader::Status::more;
        for (std::size_t i = 0; i < c.bytes.size() && status != ArchiveReader::Status::malformed; ++i)
            status = bytewiseReader.add(reinterpret_cast<const std::uint8_t*>(c.bytes.data() + i), 1, bytewise);
        EXPECT_EQ(status, c.status) << c.what << ", byte by byte";
        EXPECT_EQ(bytewise.files, c.files) << c.what << ", byte by byte";
    }
}

}  // namespace
}  // namespace quillset
