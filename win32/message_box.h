// Setup.exe's message boxes, and the system's texts for its error codes.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// MessageBoxA with the given style; returns the button the user chose (IDOK, IDYES, ...). Without
// an owner the box stands on its own, as most of the program's messages do.
int showMessageBox(const std::string& text, const std::string& caption, UINT style, HWND owner = nullptr);

// The system's text for an error code (FormatMessageA), as the system words it, line end
// included; empty when the system has none.
std::string systemErrorText(DWORD error);

}  // namespace quillset
