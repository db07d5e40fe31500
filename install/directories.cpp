#include "directories.h"

#include <windows.h>

#include "install_paths.h"

namespace quillset {

void createDirectories(const std::string& directory) {
    for (const std::string& level : directoryLevels(directory)) CreateDirectoryA(level.c_str(), nullptr);
}

}  // namespace quillset
