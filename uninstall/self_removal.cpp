#include "self_removal.h"

#include <windows.h>

#include "path_forms.h"
#include "wininit.h"

namespace quillset {

bool deleteAtRestart(const std::string& path, bool isNt) {
    if (!isNt) return scheduleInWininit("NUL", shortPathOf(path), false);
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

void removeFoldersAtRestart(const std::vector<std::string>& folders, bool isNt) {
    if (!isNt) return;
    for (const std::string& folder : folders) MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

SelfRemoval removeOwnFile(const std::string& ownPath, const std::vector<std::string>& folders, bool isNt) {
    if (DeleteFileA(ownPath.c_str())) {
        for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
        return SelfRemoval::removed;
    }
    if (!deleteAtRestart(ownPath, isNt)) return SelfRemoval::failed;
    removeFoldersAtRestart(folders, isNt);
    return SelfRemoval::scheduled;
}

}  // namespace quillset
