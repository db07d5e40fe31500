// The splash box and the full-screen main window: one window procedure for both, told apart by
// their handles.
#pragma once

#include <windows.h>

#include <string>

#include "setup_state.h"

namespace quillset {

extern const char* const kSplashClassName;
extern const char* const kMainClassName;

// Registers a window class of the module with the shared procedure and creates one window of it.
// Returns the window, or nullptr when it could not be created (GetLastError tells why).
HWND CreateSetupWindow(HINSTANCE instance, const char* title, const char* className, HWND parent, DWORD style, int x,
                       int y, int width, int height);

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Unregisters both window classes: the program's last action.
void UnregisterSetupClasses(HINSTANCE instance);

// Painting, in window_painting.cpp. The main window shows the gradient and the caption text over
// the whole screen.
void paintMainWindow(HWND window, const Appearance& appearance, const std::string& caption, int screenWidth,
                     int screenHeight);
void paintSplashWindow(HWND window);

}  // namespace quillset
