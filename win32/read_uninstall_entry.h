// An application's entry in the system's list of installed programs, read from the registry.
#pragma once

#include <string>

#include "earlier_installation.h"

namespace quillset {

// The values of HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\ + appName
// that tell where it is installed; `exists` is false when the key cannot be opened. A value that is
// missing, not text or longer than a path reads as empty.
UninstallEntry readUninstallEntryWin32(const std::string& appName);

}  // namespace quillset
