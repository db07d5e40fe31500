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

// After the uninstaller: which of the log's files and shortcuts, the log and the uninstaller remain.
void surveyRemains(RunReport& report);

}  // namespace quillset::qsrun
