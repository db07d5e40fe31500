// The exit codes of a single-file installer. After a run of Setup.exe the starter ends with
// Setup.exe's own exit code (script/setup_exit_codes.h: 0 to 4 and -5 to -7); its own failures,
// before Setup.exe runs, have codes of their own, apart from those.
#pragma once

namespace quillset {

enum class StarterExitCode : int {
    damaged = 100,        // the file is truncated or damaged (or carries no payload): nothing unpacked
    noRoom = 101,         // the temporary folder's drive has too little free space: nothing unpacked
    cancelled = 102,      // the user cancelled the unpacking; what was unpacked is removed
    unpackFailed = 103,   // the folder or a file could not be written; what was unpacked is removed
    setupNotStarted = 104,  // Setup.exe could not be started; the folder is removed
};

constexpr int exitStatus(StarterExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
