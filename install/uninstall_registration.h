// The application's entry in the system's list of installed programs, and its record at the end
// of Uninstall.log.
#pragma once

#include <string>

#include "setup_state.h"
#include "uninstall_entry.h"
#include "uninstall_log.h"
#include "uninstall_log_reader.h"

namespace quillset {

// The Uninstall key of an application, below HKEY_LOCAL_MACHINE.
std::string uninstallKeyPath(const std::string& appName);

// Writes "[REGISTRY]" and the key path of APPNAME to the log and ends the log (endUninstallLog:
// without the records `carried` from an earlier log that the run wrote again), then creates (or
// opens) the key and writes the values of uninstallEntryValues: the commands that start
// QSUninstall.exe in the destination, the name, publisher, version, icon and the size of the files
// the log (read back from `logPath`) names in the destination. The whole name is used, however
// long: a key the registry refuses (names over 255 characters) is simply not written, like any
// key that cannot be created, and the log names it all the same; an empty name writes no key (its
// path would be the Uninstall key itself). Returns whether the key was written.
bool RegisterUninstallEntry(UninstallLog& log, const std::string& logPath, VariableTable& variables,
                            UninstallEntryRun run, const std::vector<UninstallRecord>& carried = {});

}  // namespace quillset
