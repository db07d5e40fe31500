#include "locked_file.h"

#include <windows.h>

#include <cstdint>

#include "install_paths.h"
#include "path_forms.h"
#include "system_directories.h"
#include "version_info.h"
#include "windows_version.h"
#include "wininit.h"

namespace quillset {

namespace {

// Copies the new file into the TEMP directory under a name that no other file has there: the name
// the restart expects when it is free, otherwise a fresh one of the same directory. A file already
// at that name may be the scheduled copy of another file in use (FOO.DLL and FOO.OCX both make
// FOO.TMP, CONTROLPANEL.OCX and CONTROLBAR.OCX both CONTRO~1.TMP); overwriting it would put this
// file's bytes in the other's place at the restart. Returns the copy's path, or nothing.
std::string copyToTemporary(const std::string& sourceFile, const std::string& temporaryDirectory,
                            const std::string& sourceName) {
    CreateDirectoryA(temporaryDirectory.c_str(), nullptr);
    std::string name = sourceName;
    shortenForRename(name);
    const std::string first = temporaryDirectory + "\\" + name + ".tmp";
    if (CopyFileA(sourceFile.c_str(), first.c_str(), TRUE)) return first;
    // GetTempFileNameA makes the file of the fresh name, empty, so that no one else takes the name;
    // the copy goes over that file of ours, and when it fails the file goes too.
    char second[MAX_PATH] = "";
    if (temporaryDirectory.size() >= MAX_PATH - 14 || GetTempFileNameA(temporaryDirectory.c_str(), "qs", 0, second) == 0)
        return "";
    if (CopyFileA(sourceFile.c_str(), second, FALSE)) return second;
    DeleteFileA(second);
    return "";
}

}  // namespace

LockedFileResult replaceLockedFile(const std::string& sourceFile, const std::string& destinationFile,
                                   const std::string& sourceName) {
    VersionInfo newFile, oldFile;
    if (!readVersionInfo(sourceFile, newFile) || !readVersionInfo(destinationFile, oldFile))
        return LockedFileResult::notScheduled;
    // Major and minor version only, as signed numbers: a major of 0x8000 or more counts as older.
    if (static_cast<std::int32_t>(newFile.fileVersionHigh) < static_cast<std::int32_t>(oldFile.fileVersionHigh))
        return LockedFileResult::handled;

    const std::string windowsDir = windowsDirectory();
    const std::string copy = copyToTemporary(sourceFile, windowsDir + "\\TEMP", sourceName);
    if (copy.empty()) return LockedFileResult::copyFailed;

    bool scheduled = false;
    switch (windowsFamily()) {
        case WindowsFamily::nt:
            scheduled = MoveFileExA(copy.c_str(), destinationFile.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
            break;
        case WindowsFamily::windows9x: {
            // Wininit.exe does the renames before long names exist, so its lines need short (8.3)
            // names. The file in use is there, so its own short path names it; shortPathOf gives
            // the long path back when the platform has no short form that leads to this file, and
            // only then is the target guessed from the long path (cut at its first dot, ".dll"
            // added), which may name another file.
            const std::string target = wininitRenameTarget(destinationFile, shortPathOf(destinationFile));
            scheduled = scheduleInWininit(target, copy, true);
            break;
        }
        case WindowsFamily::other: return LockedFileResult::unsupportedSystem;
    }
    if (scheduled) return LockedFileResult::handled;
    // Not scheduled after all (no rights for the pending moves, Wininit.ini not writable): the user
    // is told that the file could not be replaced, rather than this passing as done.
    DeleteFileA(copy.c_str());
    return LockedFileResult::notScheduled;
}

}  // namespace quillset
