#include "self_removal.h"

#include <windows.h>

#include "path_forms.h"
#include "wininit.h"

namespace quillset {

SelfRemoval removeOwnFile(const std::string& ownPath, const std::vector<std::string>& folders, bool isNt) {
    if (DeleteFileA(ownPath.c_str())) {
        for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
        return SelfRemoval::removed;
    }
    if (!isNt) return scheduleInWininit("NUL", shortPathOf(ownPath), false) ? SelfRemoval::scheduled : SelfRemoval::failed;
    if (!MoveFileExA(ownPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return SelfRemoval::failed;
    // The folders after the file: the pending moves run in order, and a folder goes only when empty.
    for (const std::string& folder : folders) MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return SelfRemoval::scheduled;
}

}  // namespace quillset
