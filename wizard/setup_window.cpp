#include "setup_window.h"

#include "setup_globals.h"

namespace quillset {

const char* const kSplashClassName = "SETUPSPLASHCLASS_HI_HOW_DO_YOU_DO";
const char* const kMainClassName = "SETUPMAINCLASS_HALLO_WIE_GEHTS";

HWND CreateSetupWindow(HINSTANCE instance, const char* title, const char* className, HWND parent, DWORD style, int x,
                       int y, int width, int height) {
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
    SetupState& state = setupState();
    const Win32Session& windows = win32Session();
    if (window == windows.mainWindow) {
        if (message == WM_PAINT)
            paintMainWindow(window, state.appearance, state.variables["CAPTION"], windows.screenWidth,
                            windows.screenHeight);
        if (message == WM_DESTROY) PostQuitMessage(0);
    } else if (window == windows.splashWindow && message == WM_PAINT) {
        paintSplashWindow(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void UnregisterSetupClasses(HINSTANCE instance) {
    UnregisterClassA(kSplashClassName, instance);
    UnregisterClassA(kMainClassName, instance);
}

}  // namespace quillset
