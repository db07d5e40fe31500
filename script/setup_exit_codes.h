// Setup.exe's exit codes: what the program that started the setup (a batch file, a software
// distribution tool, qscheck plan, the tests) learns about how it ended.
#pragma once

namespace quillset {

enum class SetupExitCode : int {
    normal = 0,                   // the script ran to its end; also after a confirmed Cancel and
                                  // after No to the Wininit.exe warning
    scriptUnreadable = 1,         // SetupScript.ini could not be read
    syntaxError = 2,              // a statement the reader or the interpreter rejected
    forbiddenProcess = 3,         // a program named by ForbidProcess was running
    installationStopped = 4,      // the installation stopped before its last file
    commonControlsMissing = -5,   // the common controls could not be initialised
    programFilesDirUnreadable = -6,  // ProgramFilesDir exists but could not be read
    noMainWindow = -7,            // the main window or its timer could not be made
};

// The value a process exit carries.
constexpr int exitStatus(SetupExitCode code) { return static_cast<int>(code); }

}  // namespace quillset
