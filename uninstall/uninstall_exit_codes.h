// QSUninstall.exe's exit codes, the same for the interactive and the quiet (/S) run. A deployment
// tool acts on them: 0 and 3010 mean the application is gone (3010: a restart finishes the job),
// 1605 that there was nothing to remove. The numbers above 3 are Windows' own for these cases
// (ERROR_SUCCESS_REBOOT_REQUIRED, ERROR_UNKNOWN_PRODUCT), which deployment tools already know.
#pragma once

namespace quillset {

enum class UninstallExitCode : int {
    removed = 0,          // everything was removed (shared files are kept on purpose)
    declined = 1,         // the user answered No to the question
    logUnusable = 2,      // Uninstall.log could not be read or was refused: nothing was removed
    partlyRemoved = 3,    // done, but something could be neither removed nor scheduled for removal
    restartNeeded = 3010, // removed, but files in use go only when Windows restarts
    nothingToRemove = 1605,  // no Uninstall.log beside the uninstaller: already removed, or never installed
    wrongUsage = 64,      // an argument it does not know (the usage was shown)
};

constexpr int exitStatus(UninstallExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
