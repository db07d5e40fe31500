// Shared files in use: the new file is copied to the Windows TEMP directory and the platform is
// told to move it over the old one at the next restart.
#pragma once

#include <string>

#include "install_platform.h"

namespace quillset {

// Schedules `sourceFile` to replace the in-use `destinationFile` at the next restart, when it is
// not older. `sourceName` is the file name of sourceFile. What could not be done comes back; the
// engine tells the user.
LockedFileResult replaceLockedFile(const std::string& sourceFile, const std::string& destinationFile,
                                   const std::string& sourceName);

}  // namespace quillset
