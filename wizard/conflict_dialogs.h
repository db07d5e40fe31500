// The two questions about file conflicts during the installation run. Each dialog is handed what
// it shows through DialogBoxParamA's parameter and returns the answer as its result; it keeps no
// state and sets no flag: the engine applies the "all" answers to the run (install_prompt.h).
// Escape, the close box and every control other than the three buttons leave a dialog open.
#pragma once

#include <windows.h>

#include <string>

#include "install_prompt.h"

namespace quillset {

// Dialog 115, "Different languages/codepages": both files with their languages and code pages.
// The language and code page fields of a file without version information (or without a
// translation entry) stay empty. "Install all" answers `all`.
ConflictAnswer askLanguageConflict(HINSTANCE instance, HWND owner, const std::string& sourcePath,
                                   const std::string& destinationPath);

// Dialog 116, "Overwrite file". "Overwrite every file" answers `all`.
ConflictAnswer askOverwrite(HINSTANCE instance, HWND owner, const std::string& destinationPath);

}  // namespace quillset
