// Shared files in use: the new file is copied to the Windows TEMP directory and the platform is
// told to move it over the old one at the next restart.
#pragma once

#include <string>

namespace quillset {

// Schedules `sourceFile` to replace the in-use `destinationFile` at the next restart, when it is
// not older. Returns 1 when either file has no version resource (nothing done), else 0 (scheduled,
// not needed, or failed with a message to the user). `sourceName` is the file name of sourceFile.
int replaceLockedFile(const std::string& sourceFile, const std::string& destinationFile, const std::string& sourceName);

}  // namespace quillset
