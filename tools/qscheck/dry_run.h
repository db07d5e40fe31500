// What a dry run of a script (qscheck plan, and the file checks of qscheck lint) assumes about the
// computer: its folders, and where the setup program searches the files a script names.
#pragma once

#include <string>

#include "recording_host.h"
#include "setup_state.h"

namespace quillset {

struct DryRunSettings {
    std::string programFiles = "C:\\Program Files";
    std::string setupDirectory;  // SP: the medium, the setup program's current directory
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM32";
};

// Sets the variables that the setup program fills before it reads its script.
void setBuiltinVariables(SetupState& state, const DryRunSettings& settings);

// Where the setup program, whose current directory is the setup directory, finds a pattern: a
// relative pattern lies in the setup directory; one that starts at a root or names a drive stays.
std::string patternInSetupDirectory(const std::string& setupDirectory, const std::string& pattern);

// A file finder for RecordingHost that searches each pattern where the setup program would, with
// `search` (the platform's file search), and lists the names in case-insensitive order.
RecordingHost::FileFinder setupDirectoryFinder(const std::string& setupDirectory, RecordingHost::FileFinder search);

}  // namespace quillset
