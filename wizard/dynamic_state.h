// The 50 ms timer of the main window, which keeps the Next button of the current page in line
// with the script's rules.
#pragma once

#include <windows.h>

namespace quillset {

void CALLBACK DynamicStateTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);

}  // namespace quillset
