// One program that carries a whole medium: the starter (QSStarter.exe), then the medium's files
// packed as one solid LZMA stream behind a header with their lengths and SHA-256
// (starter/payload_format.h). The same folder and starter give the same bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillset {

// The starter's name in --programs (the build's folder, a package's bin/).
constexpr const char* kStarterName = "QSStarter.exe";

// A file of the medium: its name in the archive (code page 1252, '\' between folders) and where it is.
struct PackedFile {
    std::string name;
    std::filesystem::path source;
    std::uint64_t size = 0;
};

// Every file below `medium`, in the order of their names' bytes. False, with the reason, when a
// name cannot go into the archive (starter/payload_archive.h says which can).
bool listMediumFiles(const std::filesystem::path& medium, std::vector<PackedFile>& files, std::string& error);

struct SingleFileFigures {
    std::uint64_t unpackedSize = 0;  // the archive's bytes
    std::uint64_t packedSize = 0;    // the LZMA stream's
    std::uint64_t fileSize = 0;      // the whole program's
};

// Writes `output`: the starter's bytes, the payload header, the packed archive of `files`, with
// `appName` (code page 1252) in the header for the starter's window. False, with the reason, when
// a file cannot be read or changed meanwhile, or `output` cannot be written (nothing is left).
bool writeSingleFile(const std::filesystem::path& starter, const std::vector<PackedFile>& files,
                     const std::string& appName, const std::filesystem::path& output, SingleFileFigures& figures,
                     std::string& error);

}  // namespace quillset
