// The splash box and the full-screen main window: one window procedure for both, told apart by
// their handles.
#pragma once

#include <windows.h>

namespace quillset {

extern const char* const kSplashClassName;
extern const char* const kMainClassName;

// Registers a window class with the shared procedure and creates one window of it.
HWND CreateSetupWindow(const char* title, const char* className, HWND parent, DWORD style, int x, int y, int width,
                       int height);

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Unregisters both window classes and ends COM: the program's last action.
void UnregisterSetupClasses();

// Painting, in window_painting.cpp.
void paintMainWindow(HWND window);
void paintSplashWindow(HWND window);

}  // namespace quillset
