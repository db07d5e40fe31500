// The compressor of qsmedia --compress: every kind of payload expands to its own bytes, through an
// expander written here from the format's description and through msexpand (Debian's mscompress),
// which knows nothing of ours; and the compressed names are the ones the system's tools expect.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "szdd_compressor.h"

namespace quillset {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Expands as the platform's expander does: a ring of 4096 blanks, the first byte at 4096 - 16,
// references copied a byte at a time (so that a reference may overlap what it produces).
Bytes expand(const Bytes& in, std::uint32_t& declaredSize) {
    declaredSize = in[10] | in[11] << 8 | in[12] << 16 | static_cast<std::uint32_t>(in[13]) << 24;
    std::uint8_t ring[4096];
    std::fill(std::begin(ring), std::end(ring), ' ');
    std::size_t at = 4096 - 16;
    Bytes out;
    const auto put = [&](std::uint8_t b) {
        out.push_back(b);
        ring[at] = b;
        at = (at + 1) % 4096;
    };
    for (std::size_t i = 14; i < in.size();) {
        const std::uint8_t flags = in[i++];
        for (int bit = 0; bit < 8 && i < in.size(); ++bit) {
            if (flags & (1 << bit)) {
                put(in[i++]);
                continue;
            }
            if (i + 1 >= in.size()) ADD_FAILURE() << "a reference cut off at byte " << i;
            if (i + 1 >= in.size()) return out;
            const std::size_t from = in[i] | (in[i + 1] & 0xF0) << 4, length = (in[i + 1] & 0x0F) + 3;
            i += 2;
            for (std::size_t k = 0; k < length; ++k) put(ring[(from + k) % 4096]);
        }
    }
    return out;
}

Bytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(generator());
    return bytes;
}

Bytes text(std::size_t size) {
    const char* const words[] = {"the ", "setup ", "installs ", "files ", "of ", "a ", "product ", "into ",
                                 "its ", "folder, ", "asks ", "before ", "it ", "overwrites ", "one.\r\n"};
    std::mt19937 generator(7);
    Bytes bytes;
    while (bytes.size() < size) {
        const std::string word = words[generator() % std::size(words)];
        bytes.insert(bytes.end(), word.begin(), word.end());
    }
    bytes.resize(size);
    return bytes;
}

// This test program itself: machine code, tables and strings, as a product's programs are.
Bytes executable() {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    Bytes bytes(100000);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

Bytes runs() {
    Bytes bytes(20000, 'a');
    bytes.insert(bytes.end(), 5000, ' ');
    bytes.insert(bytes.end(), 30000, 0);
    const Bytes tail = text(3000);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// The same 5000 random bytes twice, 4095, 4096 and 4097 bytes apart: the farthest a reference
// reaches, and just beyond.
Bytes repeatsAtTheRingsEnd() {
    const Bytes block = randomBytes(6000, 3);
    Bytes bytes;
    for (std::size_t gap : {4095, 4096, 4097}) {
        bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(gap));
        bytes.insert(bytes.end(), block.begin(), block.begin() + 100);
    }
    return bytes;
}

struct Payload {
    const char* name;
    Bytes bytes;
    double mostRatio;  // compressed size over the original's, at most (header aside)
};

std::vector<Payload> payloads() {
    Bytes leadingBlanks(3000, ' ');
    const Bytes prose = text(2000);
    leadingBlanks.insert(leadingBlanks.end(), prose.begin(), prose.end());
    return {
        {"empty", {}, 1},
        {"one byte", {'x'}, 2},
        {"text", text(60000), 0.45},
        {"executable", executable(), 0.9},
        {"already compressed (random bytes)", randomBytes(30000, 1), 1.126},
        {"long runs", runs(), 0.15},
        {"blanks first: references into the initial ring", leadingBlanks, 0.5},
        {"repeats at the ring's end", repeatsAtTheRingsEnd(), 1.126},
    };
}

TEST(SzddCompressor, ExpandsToTheOriginalWithTheHeaderTheSystemReads) {
    for (const Payload& p : payloads()) {
        const Bytes compressed = compressSzdd(p.bytes, 'e');
        ASSERT_GE(compressed.size(), 14u) << p.name;
        EXPECT_EQ(Bytes(compressed.begin(), compressed.begin() + 10),
                  (Bytes{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'e'}))
            << p.name;
        std::uint32_t declared = 0;
        EXPECT_TRUE(expand(compressed, declared) == p.bytes) << p.name;
        EXPECT_EQ(declared, p.bytes.size()) << p.name;
        EXPECT_LE(compressed.size() - 14, p.mostRatio * static_cast<double>(p.bytes.size()) + 1) << p.name;
    }
}

// msexpand reads standard input and writes the expanded bytes to standard output.
TEST(SzddCompressor, MsexpandExpandsEveryPayload) {
    if (std::system("command -v msexpand >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no msexpand (Debian's mscompress; tools/install-deps.sh installs it)";
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("szdd-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directory(folder);
    for (const Payload& p : payloads()) {
        const Bytes compressed = compressSzdd(p.bytes, 0);
        std::ofstream(folder / "in", std::ios::binary)
            .write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
        const std::string command =
            "msexpand <'" + (folder / "in").string() + "' >'" + (folder / "out").string() + "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << p.name;
        std::ifstream in(folder / "out", std::ios::binary);
        EXPECT_TRUE(Bytes(std::istreambuf_iterator<char>(in), {}) == p.bytes) << p.name;
    }
    std::filesystem::remove_all(folder);
}

TEST(SzddCompressor, NamesFilesAsTheSystemsToolsDo) {
    const struct {
        const char* name;
        const char* compressed;
        char replaced;
    } cases[] = {
        {"setup.exe", "setup.ex_", 'e'}, {"README", "README._", 0},         {"a.c", "a.c_", 0},
        {"notes.md", "notes.md_", 0},    {"page.html", "page.htm_", 'l'},     {"v1.2.tar", "v1.2.ta_", 'r'},
        {"lib.so.1", "lib.so.1_", 0},    {"odd.ex_", "odd.ex_", '_'},
    };
    for (const auto& c : cases) {
        const SzddName n = szddCompressedName(c.name);
        EXPECT_EQ(n.name, c.compressed) << c.name;
        EXPECT_EQ(n.replacedCharacter, c.replaced) << c.name;
    }
}

}  // namespace
}  // namespace quillset
