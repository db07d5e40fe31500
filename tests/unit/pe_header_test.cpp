// The PE header reader over tiny hand-made files, whole, cut short and made of garbage, and the
// shared-file warning it leads to.
#include <gtest/gtest.h>

#include "pe_header.h"

namespace quillset {
namespace {

// "MZ", e_lfanew at 0x3C, and at that offset "PE\0\0" with the Machine field.
std::string peFile(std::uint16_t machine, std::uint32_t peOffset = 0x80) {
    std::string bytes(peOffset + 24, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    bytes.replace(peOffset, 4, std::string("PE\0\0", 4));
    bytes[peOffset + 4] = static_cast<char>(machine & 0xFF);
    bytes[peOffset + 5] = static_cast<char>(machine >> 8);
    return bytes;
}

PeHeader headerOf(const std::string& bytes) {
    return readPeHeader([&](std::uint64_t offset, std::size_t length) {
        return offset >= bytes.size() ? std::string() : bytes.substr(static_cast<std::size_t>(offset), length);
    });
}

TEST(PeHeader, ReadsTheMachineOfWholeFilesAndNothingFromBrokenOnes) {
    std::string noSignature = peFile(0x8664);
    noSignature[0x81] = 'X';
    std::string farOffset = peFile(0x8664);
    farOffset[0x3F] = static_cast<char>(0x80);  // e_lfanew negative
    const struct {
        const char* name;
        std::string bytes;
        bool isPe;
        std::uint16_t machine;
        const char* machineName;
        bool sharedProblem;
    } cases[] = {
        {"i386", peFile(0x014C), true, 0x014C, "i386", false},
        {"AMD64", peFile(0x8664), true, 0x8664, "x86_64", true},
        {"ARM64", peFile(0xAA64), true, 0xAA64, "ARM64", true},
        {"header right after the DOS header", peFile(0xAA64, 0x40), true, 0xAA64, "ARM64", true},
        {"unknown machine", peFile(0x1234), true, 0x1234, "machine 0x1234", false},
        {"empty", "", false, 0, "", false},
        {"text", "just some text that is longer than a DOS header is, with no MZ at all, none", false, 0, "", false},
        {"DOS header cut short", peFile(0x8664).substr(0, 0x3E), false, 0, "", false},
        {"cut inside the Machine field", peFile(0x8664).substr(0, 0x85), false, 0, "", false},
        {"offset past the end", peFile(0x8664).substr(0, 0x40), false, 0, "", false},
        {"no PE signature", noSignature, false, 0, "", false},
        {"negative offset", farOffset, false, 0, "", false},
    };
    for (const auto& c : cases) {
        const PeHeader header = headerOf(c.bytes);
        EXPECT_EQ(header.isPe, c.isPe) << c.name;
        if (!c.isPe) continue;
        EXPECT_EQ(header.machine, c.machine) << c.name;
        EXPECT_EQ(machineName(header.machine), c.machineName) << c.name;
        // Installed by the 32-bit Setup.exe, or by one qsmedia cannot tell (taken as the shipped one).
        for (const PeHeader& setupProgram : {headerOf(peFile(0x014C)), PeHeader{}}) {
            const std::string problem = sharedFileMachineProblem(header, setupProgram);
            EXPECT_EQ(!problem.empty(), c.sharedProblem) << c.name << ": " << problem;
            if (c.sharedProblem) {
                EXPECT_NE(problem.find(std::string("(") + c.machineName + ")"), std::string::npos) << problem;
            }
        }
        // A 64-bit Setup.exe puts shared files into the real system folder.
        EXPECT_EQ(sharedFileMachineProblem(header, headerOf(peFile(0x8664))), "") << c.name;
    }
    EXPECT_EQ(sharedFileMachineProblem(PeHeader{}, PeHeader{}), "") << "no PE file: nothing to say";
}

}  // namespace
}  // namespace quillset
