// Files that a running program holds cannot be deleted on Windows: the uninstaller's own file, and
// any file of the application that is in use while it runs. They go at the next restart, the way
// each family of Windows offers.
#pragma once

#include <string>
#include <vector>

namespace quillset {

enum class SelfRemoval { removed, scheduled, failed };

// Has `path` deleted at the next restart: on the NT family through the list of pending moves, on
// Windows 95/98 through a "NUL=" line of its own in the rename section of Wininit.ini, every other
// line of that file kept. False when neither could be written.
bool deleteAtRestart(const std::string& path, bool isNt);

// Has each of `folders` (deepest first) removed at the next restart if it is empty by then, after
// the files scheduled before: the pending moves run in order. Only the NT family can; Windows
// 95/98's Wininit.ini removes no folders.
void removeFoldersAtRestart(const std::vector<std::string>& folders, bool isNt);

// Deletes `ownPath` now where the system allows it, and otherwise has it deleted at the next
// restart, followed on the NT family by `folders` (its own folder and the parents the
// uninstallation empties, deepest first).
SelfRemoval removeOwnFile(const std::string& ownPath, const std::vector<std::string>& folders, bool isNt);

}  // namespace quillset
