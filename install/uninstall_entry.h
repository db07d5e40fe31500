// What the application's entry in the system's list of installed programs holds: the values that
// Apps & features and deployment tools read, worked out from the setup variables, the run and the
// files Uninstall.log names. Portable; uninstall_registration.cpp writes them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "uninstall_log.h"

namespace quillset {

// The commands the entry starts the uninstaller with: its path in the destination, quoted (an
// unquoted path with a blank would have Windows try "C:\Program.exe" first), and with /S.
std::string uninstallCommand(const std::string& destination);
std::string quietUninstallCommand(const std::string& destination);

struct UninstallEntryValue {
    enum class Kind {
        text,    // REG_SZ
        number,  // REG_DWORD
        absent,  // the entry owns the value but has none this time: removed from a key that an
                 // earlier installation left, so that no stale publisher or version remains
    };
    std::string name;
    Kind kind = Kind::absent;
    std::string text;
    std::uint32_t number = 0;
};

struct UninstallEntryRun {
    std::string firstShortcutTarget;  // the installed file of the first shortcut made; empty: none
    LogDate date;                     // the day of the installation
    // The bytes of the files in the destination that the log names; none when the log could not
    // be read back, and the entry then leaves the size out.
    std::optional<std::uint64_t> bytesInDestination;
};

// Every value the entry owns, in the order written. `variables` are the setup variables at the end
// of the run. A relative APPICON lies in the destination (DP as the user chose it, which a
// SetVariable before the destination page cannot know).
std::vector<UninstallEntryValue> uninstallEntryValues(const std::map<std::string, std::string>& variables,
                                                      const UninstallEntryRun& run);

// The path lines of the file and shortcut records of a log's bytes, in log order.
std::vector<std::string> loggedPaths(const std::string& logBytes);

// The paths that lie below the destination, given in each of its forms (long and short: the log
// names files of the application's folder in short form), compared without regard to ASCII case,
// each place once.
std::vector<std::string> pathsInDestination(const std::vector<std::string>& paths,
                                            const std::vector<std::string>& destinationForms);

}  // namespace quillset
