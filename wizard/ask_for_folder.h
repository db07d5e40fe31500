// The folder browser as the destination and program group pages show it.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// The shell's folder browser over `page`, with the one title both pages give it, below the
// Programs folder when `belowPrograms`. The chosen folder's path, or empty when cancelled.
std::string askForFolder(HWND page, bool belowPrograms);

}  // namespace quillset
