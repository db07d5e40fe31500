// Shared files that are servers register themselves once installed.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall_log.h"

namespace quillset {

// Records the installed shared file `directory` "\" `name` in the log and offers it
// self-registration: a file that loads as a library and exports DllRegisterServer has it called
// ("AUTOREGSVR" follows its record, and a failing status is reported to the user, owned by
// `owner`); a library without the export gets "NOAUTOREGSVR"; a file that is no library gets no
// further line.
void recordAndRegisterSharedFile(const std::string& directory, const std::string& name, HWND owner,
                                 UninstallLog& log);

}  // namespace quillset
