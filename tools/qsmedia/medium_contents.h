// What goes on a medium: the files of the tree that the description's sections name, in the order
// the script installs them, with their destinations, and the problems found on the way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media_description.h"
#include "pe_header.h"

namespace quillset {

struct MediumEntry {
    std::string treePath;           // relative to the tree, '/' separators; empty for the uninstaller
    std::string mediumPath;         // on the medium, as the script names it: '\' separators, code page 1252
    std::uint64_t size = 0;
    std::string section;
    std::string destinationFolder;  // below the installation folder, '\' separators; empty: its top
    bool shared = false;
    std::string shortcutName;       // empty: no shortcut
    // With --compress, a file stored compressed (compressed_files.h): its name on the medium
    // ("app\setup.ex_"), '\' separators, code page 1252, and its size there. Empty: stored as it is.
    std::string compressedPath;
    std::uint64_t compressedSize = 0;
};

// The file as the medium holds it: its path there and its size.
const std::string& storedPath(const MediumEntry& entry);
std::uint64_t storedSize(const MediumEntry& entry);

struct Problem {
    std::string where;  // "FILE" or "FILE:LINE"
    bool error = true;  // false: a warning
    std::string message;
};

// The uninstaller's name on the medium and in the installation folder.
extern const char* const kUninstallerName;

// Walks the tree (a UTF-8 path; names are read as UTF-8 and written to the script in code page
// 1252) for the description. descriptionName names the description in problems.
// uninstallerSize is the size of the uninstaller, which the first required section (or the first
// section) installs; setupProgram the header of the Setup.exe that goes on the medium, which
// decides where shared files go. Returns false when a problem is an error.
bool collectMediumContents(const MediaDescription& description, const std::string& descriptionName,
                           const std::string& tree, std::uint64_t uninstallerSize, const PeHeader& setupProgram,
                           std::vector<MediumEntry>& entries, std::vector<Problem>& problems);

// Reads part of a file (of the tree, or a program), for its PE header.
FileBytesReader fileBytesReader(const std::filesystem::path& file);

// True when text read by the setup program keeps every character: no '[' followed by ']' (the
// setup program replaces [NAME] by a variable's value).
bool keepsBrackets(const std::string& text);

}  // namespace quillset
