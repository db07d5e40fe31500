#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "find_files.h"
#include "platform.h"
#include "windows_name_character.h"

namespace quillset {

NameCharacterTest platformNameCharacterTest() { return isWindowsNameCharacter; }

void useBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

std::vector<FoundFile> findMatchingFiles(const std::string& pattern) { return findFilesWin32(pattern); }

std::string fileSystemPath(const std::string& path) { return path; }

std::string commandLineText(const std::string& argument) { return argument; }

std::string absoluteDirectoryOf(const std::string& path) {
    std::string buffer(32768, '\0');
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], &filePart);
    if (length == 0 || length >= buffer.size()) return ".";
    if (filePart != nullptr) buffer.resize(static_cast<std::size_t>(filePart - buffer.data()));
    else buffer.resize(length);
    // Keep the backslash of a drive root ("C:\"), drop any other trailing one.
    if (buffer.size() > 3 && buffer.back() == '\\') buffer.pop_back();
    return buffer;
}

}  // namespace quillset
