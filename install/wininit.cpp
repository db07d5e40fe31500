#include "wininit.h"

#include <windows.h>

#include "ini_file.h"
#include "system_directories.h"

namespace quillset {

bool scheduleInWininit(const std::string& target, const std::string& source, bool replaceSameTarget) {
    const std::string path = windowsDirectory() + "\\Wininit.ini";
    const DWORD attributes = GetFileAttributesA(path.c_str());
    // Read-only means not ours to change, whoever could write it anyway.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    IniFile wininit;
    if (wininit.load(path) == IniLoadResult::cannotRead && attributes != INVALID_FILE_ATTRIBUTES)
        return false;  // there but unreadable
    if (replaceSameTarget) wininit.setEntry("rename", target, source);
    else wininit.addEntry("rename", target, source);
    return wininit.save(path);
}

}  // namespace quillset
