// Shared files in use: the new file is copied to the Windows TEMP directory and the platform is
// told to move it over the old one at the next restart.
#pragma once

#include <string>

namespace quillset {

enum class LockedFileResult {
    handled,       // scheduled, not needed (the file in use is newer), or failed with a message
    notScheduled,  // a file has no version resource, or the system refused the scheduling: the
                   // caller tells the user that the file in use could not be replaced
};

// Schedules `sourceFile` to replace the in-use `destinationFile` at the next restart, when it is
// not older. `sourceName` is the file name of sourceFile.
LockedFileResult replaceLockedFile(const std::string& sourceFile, const std::string& destinationFile,
                                   const std::string& sourceName);

}  // namespace quillset
