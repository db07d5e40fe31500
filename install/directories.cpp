#include "directories.h"

#include <windows.h>

#include <vector>

#include "install_paths.h"

namespace quillset {

void createDirectories(const std::string& directory) {
    for (const std::string& level : directoryLevels(directory)) CreateDirectoryA(level.c_str(), nullptr);
}

std::string windowsDirectory() {
    std::vector<char> buffer(MAX_PATH + 1);
    const UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    return buffer.data();
}

}  // namespace quillset
