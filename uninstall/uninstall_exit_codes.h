// QSUninstall.exe's exit codes.
#pragma once

namespace quillset {

enum class UninstallExitCode : int {
    removed = 0,       // everything was removed (shared files are kept on purpose)
    declined = 1,      // the user answered No to the question
    logUnusable = 2,   // Uninstall.log could not be read or was refused: nothing was removed
    partlyRemoved = 3, // done, but something could not be removed (the closing message names it)
};

constexpr int exitStatus(UninstallExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
