// Reading a dialog control's text.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// The whole text of a dialog's control, however long: a path is never cut.
std::string dialogItemText(HWND dialog, int id);

}  // namespace quillset
