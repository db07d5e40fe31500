// The wizard's own part of the run: the program's instance and the windows it owns. The setup
// model (setup_state.h) is portable and holds no handle; this is its Win32 counterpart.
#pragma once

#include <windows.h>

#include <vector>

namespace quillset {

struct Win32Session {
    HINSTANCE instance = nullptr;
    int screenWidth = 0, screenHeight = 0;
    HWND splashWindow = nullptr;
    HWND mainWindow = nullptr;
    HWND pageWindow = nullptr;  // the page open now, or the last one
    HFONT pageFont = nullptr;
    // The windows of the script's controls (SetupState::controls, index for index), each only
    // while its page is open; shorter than the list until a page with a later control opens.
    std::vector<HWND> controlWindows;
};

}  // namespace quillset
