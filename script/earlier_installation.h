// Where an earlier installation of the application lives, from its entry in the system's list of
// installed programs. An upgrade goes into that folder: the entry is one key per application
// name, and an installation elsewhere would write it over the earlier one's, whose files would
// lose their only way out. Portable: the entry's values come from the platform (SetupHost, the
// installation run), the decision is made here.
#pragma once

#include <functional>
#include <string>

namespace quillset {

// The values of an application's Uninstall entry that tell where it is installed.
struct UninstallEntry {
    bool exists = false;
    std::string installLocation;  // "InstallLocation"; empty when the entry has none
    std::string uninstallString;  // "UninstallString": the uninstaller, quoted or not
};

// The folder of the uninstaller that an UninstallString starts, with a trailing backslash: the
// quoted path ("\"C:\App\QSUninstall.exe\" /S") or the unquoted one as the installation wrote it
// before (C:\App\QSUninstall.exe, blanks and all). Empty when it names no full path.
std::string uninstallerFolder(const std::string& uninstallString);

// The folder of the earlier installation, with a trailing backslash: the entry's InstallLocation
// or, without one that holds a log, the uninstaller's folder; only a folder for which `holdsLog`
// (its Uninstall.log exists) is true. Empty when there is no entry or no such folder.
std::string earlierInstallationFolder(const UninstallEntry& entry,
                                      const std::function<bool(const std::string& logPath)>& holdsLog);

// Whether two folders are one, as the file system compares names: ASCII case and trailing
// backslashes aside.
bool sameFolder(const std::string& a, const std::string& b);

}  // namespace quillset
