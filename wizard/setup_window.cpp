#include "setup_window.h"

#include <objbase.h>

#include "setup_globals.h"

namespace quillset {

const char* const kSplashClassName = "SETUPSPLASHCLASS_HI_HOW_DO_YOU_DO";
const char* const kMainClassName = "SETUPMAINCLASS_HALLO_WIE_GEHTS";

HWND CreateSetupWindow(const char* title, const char* className, HWND parent, DWORD style, int x, int y, int width,
                       int height) {
    HINSTANCE instance = static_cast<HINSTANCE>(setupState().instance);
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SetupWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    // Brush value 5: the system reads small values as a colour index + 1, here the menu colour.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    windowClass.lpszClassName = className;
    RegisterClassExA(&windowClass);  // a second registration of the same class fails harmlessly
    return CreateWindowExA(0, className, title, style, x, y, width, height, parent, nullptr, instance, nullptr);
}

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const SetupState& state = setupState();
    if (window == static_cast<HWND>(state.mainWindow)) {
        if (message == WM_PAINT) paintMainWindow(window);
        if (message == WM_DESTROY) PostQuitMessage(0);
    } else if (window == static_cast<HWND>(state.splashWindow) && message == WM_PAINT) {
        paintSplashWindow(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void UnregisterSetupClasses() {
    HINSTANCE instance = static_cast<HINSTANCE>(setupState().instance);
    UnregisterClassA(kSplashClassName, instance);
    UnregisterClassA(kMainClassName, instance);
    CoUninitialize();
}

}  // namespace quillset
