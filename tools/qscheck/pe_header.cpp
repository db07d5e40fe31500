#include "pe_header.h"

#include <cstdio>

namespace quillset {

namespace {

// The DOS header that every PE file starts with: "MZ", and at 0x3C (e_lfanew) the offset of the
// PE signature, a signed 32-bit number. The signature "PE\0\0" is followed by the file header,
// whose first field is Machine.
constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kSignatureAndMachine = 6;

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xAA64;
constexpr std::uint16_t kMachineIa64 = 0x0200;
constexpr std::uint16_t kMachineArm = 0x01C0;
constexpr std::uint16_t kMachineArmThumb2 = 0x01C4;

std::uint32_t littleEndian(const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

PeHeader readPeHeader(const FileBytesReader& read) {
    PeHeader header;
    const std::string dos = read(0, kDosHeaderSize);
    if (dos.size() < kDosHeaderSize || dos[0] != 'M' || dos[1] != 'Z') return header;
    const std::uint32_t peOffset = littleEndian(dos, kPeOffsetField, 4);
    if (peOffset > 0x7FFFFFFFu) return header;  // negative: the loader refuses it
    const std::string pe = read(peOffset, kSignatureAndMachine);
    if (pe.size() < kSignatureAndMachine || pe.compare(0, 4, std::string("PE\0\0", 4)) != 0) return header;
    header.isPe = true;
    header.machine = static_cast<std::uint16_t>(littleEndian(pe, 4, 2));
    return header;
}

std::string machineName(std::uint16_t machine) {
    switch (machine) {
        case kMachineI386: return "i386";
        case kMachineAmd64: return "x86_64";
        case kMachineArm64: return "ARM64";
        case kMachineIa64: return "IA-64";
        case kMachineArm:
        case kMachineArmThumb2: return "ARM";
        default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "machine 0x%04X", static_cast<unsigned>(machine));
    return text;
}

bool is64BitProgram(const PeHeader& header) {
    return header.isPe &&
           (header.machine == kMachineAmd64 || header.machine == kMachineArm64 || header.machine == kMachineIa64);
}

std::string sharedFileMachineProblem(const PeHeader& header, const PeHeader& setupProgram) {
    // A 64-bit Setup.exe (the win64 package's) sees the real system folder.
    if (!is64BitProgram(header) || is64BitProgram(setupProgram)) return "";
    // 64-bit Windows shows a 32-bit program SysWOW64, the 32-bit programs' folder, where it asks
    // for the system folder; a 64-bit program looks for its DLLs in the real System32.
    return "a 64-bit program (" + machineName(header.machine) +
           "): the 32-bit Setup.exe installs shared files into the system folder, which 64-bit Windows turns into "
           "SysWOW64 for it, where no 64-bit program looks";
}

}  // namespace quillset
