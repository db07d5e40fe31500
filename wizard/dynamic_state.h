// The Next button of the current page, kept in line with the script's rules: by the 50 ms timer
// of the main window, when a page opens, and when Next is pressed.
#pragma once

#include <windows.h>

#include "setup_state.h"
#include "win32_session.h"

namespace quillset {

// Whether the script's rules let the current page go on now, from its controls as they are.
bool nextAllowed(const SetupState& state, const Win32Session& windows);

// Enables or disables the current page's Next as the rules say; a page without Next is left alone.
void applyNextState(const SetupState& state, const Win32Session& windows);

void CALLBACK DynamicStateTimerProc(HWND window, UINT message, UINT_PTR timerId, DWORD time);

}  // namespace quillset
