// qscheck's exit statuses. `qscheck plan` ends with the code Setup.exe would end with instead
// (setup_exit_codes.h), or with `failed` when the script cannot be read.
#pragma once

namespace quillset {

enum class QscheckExitCode : int {
    ok = 0,      // also --help and --version
    failed = 1,  // unreadable input, a log the uninstaller refuses, lint errors, output not written
    usage = 64,  // a wrong command line (as BSD's EX_USAGE)
};

constexpr int exitStatus(QscheckExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
