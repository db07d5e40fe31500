// Shortcut files (.lnk) in the program group, made through the shell's link object.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// Writes a shortcut at `linkPath` that points at `target`, with `description`. Returns the status
// of the save (S_OK, 0, on success) or of the step that failed. A link path of MAX_PATH (260)
// characters or more is refused with E_INVALIDARG before anything is made: cutting it short would
// save the shortcut under another name than the one the log records.
HRESULT makeShortcut(const std::string& target, const std::string& linkPath, const std::string& description);

}  // namespace quillset
