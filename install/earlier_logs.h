// Uninstall.log of a run that finds the log of an earlier installation: in the destination folder
// (an upgrade in place), or in the folder that the application's Uninstall entry names when this
// run installs elsewhere (the entry this run writes replaces that one). What is carried over and
// in which order is decided by uninstall_log_merge.h; this file reads and moves the files.
//
// At every moment the destination's Uninstall.log names every file of every version that is on
// disk, so that a run killed anywhere leaves a log the uninstaller can use:
//   1. the new log is written beside the old one (Uninstall.log.new) with the header and every
//      carried record, handed to the disk, and only then put in the old one's place;
//   2. the run adds its records to it, each after its file is in place, as any run does;
//   3. after the Uninstall entry, when the run wrote records again that were carried, the finished
//      log is written once more without the carried ones, beside it, and put in its place.
// A log in the destination that is not carried is moved aside (Uninstall.log.previous) before the
// new one is made.
#pragma once

#include <string>
#include <vector>

#include "install_prompt.h"
#include "uninstall_log.h"
#include "uninstall_log_reader.h"

namespace quillset {

// Starts the run's log in `destination` for `appName`: header (of `date`), "[FILES]" and the
// records carried from the earlier logs, which it returns. `earlierFolder` is the folder of the
// application's Uninstall entry ("" for none); its log is carried, with a record of its own that
// removes it at the uninstallation, only when it lies in another folder. When no log can be made
// the user is told through `prompt`, as for any log that cannot be created; an earlier log is then
// left as it was.
std::vector<UninstallRecord> startUninstallLog(UninstallLog& log, const std::string& destination,
                                               const std::string& appName, const std::string& earlierFolder,
                                               const LogDate& date, InstallPrompt& prompt);

// Closes the run's log, handing it to the disk; when records were carried and the run wrote some
// of their places again, writes the finished log once more without those carried records.
void endUninstallLog(UninstallLog& log, const std::string& destination, const std::vector<UninstallRecord>& carried,
                     const LogDate& date);

// The folder of `appName`'s earlier installation that its Uninstall entry names, when that folder
// still holds its Uninstall.log; "" otherwise.
std::string earlierInstallationFolderOf(const std::string& appName);

}  // namespace quillset
