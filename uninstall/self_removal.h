// The uninstaller's last step: its own file, which a running program cannot delete on Windows, and
// then its folder, go at the next restart, the way each family of Windows offers.
#pragma once

#include <string>
#include <vector>

namespace quillset {

enum class SelfRemoval { removed, scheduled, failed };

// Deletes `ownPath` now where the system allows it, and otherwise has it deleted at the next
// restart: on the NT family through the list of pending moves, followed by `folders` (its own
// folder and the parents the uninstallation empties, deepest first), each of which goes only when
// it is empty by then; on Windows 95/98 through a "NUL=" line of its own in the rename section of
// Wininit.ini, every other line of that file kept (that way cannot remove folders).
SelfRemoval removeOwnFile(const std::string& ownPath, const std::vector<std::string>& folders, bool isNt);

}  // namespace quillset
