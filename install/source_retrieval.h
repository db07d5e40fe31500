// Files split over several disks: each part is fetched from the medium and appended to the file's
// join file in the Windows TEMP directory, which is installed once the last part is in.
#pragma once

#include <string>

#include "install_result.h"
#include "setup_state.h"

namespace quillset {

// The join file of a split file: windowsDirectory + "\TEMP\" + the file name of destinationPath
// (the text after its last backslash, or all of it) + ".ToInstall.TMP".
std::string joinFilePathFor(const std::string& windowsDirectory, const std::string& destinationPath);

enum class SplitPartResult {
    appended,  // the part is at the end of the join file
    leftOut,   // the user chose Ignore at the disk prompt
    quit,      // the user confirmed quitting at the disk prompt
    failed,    // reading the part or writing the join file failed; the user has been told
};

// Appends the part of `entry` (its sourcePath) to the join file `joinFile`. `startJoining`: this is
// the first part of a joining, so the join file is emptied first and nothing left by an earlier,
// interrupted setup or size computation can reach the installed file. A part that cannot be opened
// brings the disk prompt (caption: the part's full path). The part is copied in bounded chunks.
SplitPartResult appendSplitPart(const InstallFileEntry& entry, const std::string& joinFile, bool startJoining,
                                InstallPrompt& prompt);

}  // namespace quillset
