// The exit statuses of qsrun (the launcher passes the driver's on, and adds its own).
#pragma once

namespace quillset::qsrun {

enum class QsrunExitCode {
    ok = 0,          // the walk ended, Setup.exe exited with 0 and (--uninstall) nothing of the product remains
    failed = 1,      // the walk stopped (unexpected window, a wait ran out), or Setup.exe exited with another code
    remains = 2,     // --uninstall: the uninstaller failed or something of the product remains
    answers = 3,     // the answers file cannot be read, or an answer was never used
    usage = 64,      // a wrong command line
    missing = 69,    // the launcher: Wine, Xvfb or the driver is not installed
    interrupted = 130,  // the launcher: stopped by Ctrl-C or a signal (everything it started is ended)
};

inline int exitStatus(QsrunExitCode code) { return static_cast<int>(code); }

}  // namespace quillset::qsrun
