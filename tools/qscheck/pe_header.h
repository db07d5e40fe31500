// The processor a Windows program or DLL is built for, from its Portable Executable header, and
// what that means for a shared file: qsmedia and qscheck lint warn about a 64-bit file that the
// 32-bit Setup.exe would install as a shared one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quillset {

// Up to `length` bytes of a file from `offset` on: fewer, or none, where the file ends or cannot
// be read.
using FileBytesReader = std::function<std::string(std::uint64_t offset, std::size_t length)>;

struct PeHeader {
    bool isPe = false;          // "MZ", then at the offset the DOS header gives: "PE\0\0"
    std::uint16_t machine = 0;  // the file header's Machine field (IMAGE_FILE_MACHINE_...)
};

// Reads the header through `read`; a file that is too short, or has no such header, is no PE file.
PeHeader readPeHeader(const FileBytesReader& read);

// The processor's name as the warnings give it: "i386", "x86_64", "ARM64", ... or "machine 0xNNNN".
std::string machineName(std::uint16_t machine);

// Whether the header is that of a program for a 64-bit processor (x86_64, ARM64, IA-64).
bool is64BitProgram(const PeHeader& header);

// Why a shared file with this header does not belong where the medium's Setup.exe (with the header
// `setupProgram`) puts it, as the end of a sentence ("... is a 64-bit program (x86_64): ..."):
// a 64-bit program installed by the 32-bit Setup.exe that ships (also assumed when setupProgram is
// no PE file). Empty when it belongs there.
std::string sharedFileMachineProblem(const PeHeader& header, const PeHeader& setupProgram);

}  // namespace quillset
