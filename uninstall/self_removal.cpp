#include "self_removal.h"

#include <windows.h>

#include <vector>

#include "wininit.h"

namespace quillset {

namespace {

// Wininit.ini runs before long names exist: its lines name files by their short form.
std::string shortForm(const std::string& path) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return path;
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

}  // namespace

SelfRemoval removeOwnFile(const std::string& ownPath, const std::vector<std::string>& folders, bool isNt) {
    if (DeleteFileA(ownPath.c_str())) {
        for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
        return SelfRemoval::removed;
    }
    if (!isNt) return scheduleInWininit("NUL", shortForm(ownPath), false) ? SelfRemoval::scheduled : SelfRemoval::failed;
    if (!MoveFileExA(ownPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return SelfRemoval::failed;
    // The folders after the file: the pending moves run in order, and a folder goes only when empty.
    for (const std::string& folder : folders) MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return SelfRemoval::scheduled;
}

}  // namespace quillset
