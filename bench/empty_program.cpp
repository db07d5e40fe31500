// The smallest Win32 program with a window: one empty dialog, titled "Empty program", until it is
// closed. first_page_bench.exe starts it beside Setup.exe to measure what starting any program
// and showing its first window costs under the same Wine.
#include <windows.h>

namespace {

INT_PTR CALLBACK emptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// A dialog template in memory: no menu, the standard dialog class, the title, no controls.
struct EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WCHAR title[14];
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    EmptyDialogTemplate dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    dialog.header.cx = 200;
    dialog.header.cy = 100;
    const wchar_t title[] = L"Empty program";
    for (unsigned i = 0; i < sizeof title / sizeof title[0]; ++i) dialog.title[i] = title[i];
    return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, emptyDialogProc, 0));
}
