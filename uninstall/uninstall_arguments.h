// QSUninstall.exe's command line. Without arguments it asks and reports; /S removes quietly, for
// deployment tools (the Uninstall entry's QuietUninstallString); /? shows the usage. Portable.
#pragma once

#include <string>

namespace quillset {

enum class UninstallMode {
    interactive,  // the question, the removal, the closing report
    quiet,        // no window at all: the exit code tells what happened
    usage,        // /?: the usage, nothing removed
    wrongUsage,   // an argument it does not know: the usage, nothing removed
};

struct UninstallArguments {
    UninstallMode mode = UninstallMode::interactive;
    std::string unknown;  // the first argument it does not know (wrongUsage)
};

// Reads the whole command line, as GetCommandLineA gives it (the program first, quoted or not).
// Options are not case-sensitive ("/s" is "/S"); a repeated /S is the same as one.
UninstallArguments parseUninstallArguments(const std::string& commandLine);

// The usage message box's text: what the options do and the exit codes. For wrongUsage it begins
// by naming the unknown argument.
std::string uninstallUsage(const UninstallArguments& arguments);

}  // namespace quillset
