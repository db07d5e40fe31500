// The shell's folders: the Start menu's Programs folder and the folder browser.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// The file-system path of the Start menu's Programs folder, or an empty text when the shell
// cannot name it.
std::string programsFolder();

// Shows the shell's folder browser (file-system folders only) with this title, modal to `owner`,
// below the Programs folder when `belowPrograms` (below the desktop when false or when the
// Programs folder is unknown). Returns the chosen folder's path, or an empty text when the user
// cancelled or the choice has no path.
std::string browseForFolder(HWND owner, const char* title, bool belowPrograms);

}  // namespace quillset
