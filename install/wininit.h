// Wininit.ini, which Windows 95/98 carry out at the next start: each line of its "rename" section
// moves a file over another, or deletes one ("NUL=file").
#pragma once

#include <string>

namespace quillset {

// Adds target=source to the rename section of the Windows directory's Wininit.ini, keeping every
// line other programs wrote. `replaceSameTarget`: an earlier line for the same target is replaced
// (a newer copy for the same file); otherwise the line is added whatever is there (each "NUL=" line
// deletes a file of its own). False, and the file untouched, when it is there but cannot be read,
// is read-only, or cannot be written.
bool scheduleInWininit(const std::string& target, const std::string& source, bool replaceSameTarget);

}  // namespace quillset
