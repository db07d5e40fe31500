// What an installation left on the machine, as the uninstaller will find it: the Uninstall entry
// Setup.exe wrote (told apart from the others by comparing them before and after the run), the
// Uninstall.log in the destination it names, read by the uninstaller's own reader, the files and
// shortcuts the log records, and the replacements waiting for the restart. After an
// uninstallation: what of it remains.
#pragma once

#include <map>
#include <string>

#include "run_report.h"

namespace quillset::qsrun {

// Every Uninstall entry with its values, to compare after the run.
using UninstallEntries = std::map<std::string, std::string>;
UninstallEntries readUninstallEntries();

// Fills the report's entry, log, files, shortcuts and pending replacements. The entry is the one
// that is new or changed since `before`, or else the one written last since `started`.
void surveyInstallation(const UninstallEntries& before, const FILETIME& started, RunReport& report);

// One file as it is now: whether it exists, its long path, size, digest and version.
FileRecord describeFile(const std::string& path, const std::string& kind);

// After the uninstaller: which of the log's files and shortcuts, the log and the uninstaller remain.
void surveyRemains(RunReport& report);

// After the uninstaller of an installation over an earlier one (`earlier`, qsrun --upgrade-from):
// which of the earlier installation's files remain. Shared files and files due to be deleted at
// the next restart (the uninstaller itself) do not count, as for the later installation's own.
void surveyEarlierRemains(const RunReport& earlier, RunReport& report);

}  // namespace quillset::qsrun
