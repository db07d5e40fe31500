// What the uninstaller removes, decided before anything is touched: which records are safe, the
// files and shortcuts in the order they go, and the directories to try once they are empty.
// Portable; paths are compared as the file system does, without regard to ASCII case.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "uninstall_log_reader.h"

namespace quillset {

// `path` is `directory` or lies below it.
bool isSameOrBelow(const std::string& path, const std::string& directory);

// Refuses a log that would have the uninstaller delete what is not the application's: a record
// of a non-shared file or shortcut that names a drive root, lies in one of `systemDirectories`
// (the Windows and system directories) or below, or hides its place (".", "..", wildcards, a device
// path, a name ending in a full stop or a blank). Paths are read with Windows' separators: "/" as
// "\", a run of them as one. Shared files are never removed and may lie anywhere. Returns false
// with the record's line.
bool checkRecordsAreSafe(const UninstallLogContents& log, const std::vector<std::string>& systemDirectories,
                         UninstallLogError& error);

struct UninstallPlan {
    std::vector<std::string> removals;    // files and shortcuts, in reverse log order, each once
    std::vector<std::string> sharedKept;  // shared files, in log order, each once
    std::vector<std::string> directories; // deepest first: tried once emptied, each once
    bool removesItself = false;           // the uninstaller's own file is one of the records
};

// `longForm` gives a recorded path's long form (non-shared files are recorded in short form);
// `ownPath` is the uninstaller's own file in long form, which is left out of the removals.
// Directories are the folders of the removals and their parents, up to (never including) a drive
// root or one of `keptDirectories` (the system's own folders such as the Programs folder).
UninstallPlan planUninstall(const UninstallLogContents& log, const std::function<std::string(const std::string&)>& longForm,
                            const std::string& ownPath, const std::vector<std::string>& keptDirectories);

}  // namespace quillset
