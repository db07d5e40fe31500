// The application's entry in the system's list of installed programs, and its record at the end
// of Uninstall.log.
#pragma once

#include <string>

#include "uninstall_log.h"

namespace quillset {

// The Uninstall key of an application, below HKEY_LOCAL_MACHINE.
std::string uninstallKeyPath(const std::string& appName);

// Writes "[REGISTRY]" and the key path to the log, then creates (or opens) the key with
// "DisplayName" = appName and "UninstallString" = QSUninstall.exe in the destination folder. The whole name is
// used, however long: a key the registry refuses (names over 255 characters) is simply not
// written, like any key that cannot be created, and the log names it all the same. Returns whether
// the key was written.
bool RegisterUninstallEntry(UninstallLog& log, const std::string& appName, const std::string& destination);

}  // namespace quillset
