#include "page_frame.h"

namespace quillset {

namespace {

// The picture, loaded once each time the page opens and drawn at every repaint.
HBITMAP welcomePicture = nullptr;

void paintPicture(HWND page, HINSTANCE instance) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    if (welcomePicture == nullptr)
        welcomePicture = static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDB_WELCOME), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (welcomePicture != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, welcomePicture);
        BITMAP size{};
        GetObjectA(welcomePicture, sizeof size, &size);
        BitBlt(dc, 40, 30, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(page, &paint);
}

}  // namespace

// The greeting: the script's title and two texts, and the picture left of them.
INT_PTR WelcomePageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    PageCommonProc(state, windows, page, message, wParam, lParam, Page::Welcome);
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextA(page, state.variables["WELCOMESTRING_CAP"].c_str());
            SetDlgItemTextA(page, IDC_WELCOME_TEXT, state.variables["WELCOMESTRING"].c_str());
            SetDlgItemTextA(page, IDC_WELCOME_TEXT2, state.variables["WELCOMESTRING2"].c_str());
            break;
        case WM_PAINT: paintPicture(page, windows.instance); break;
        case WM_DESTROY:
            if (welcomePicture != nullptr) DeleteObject(welcomePicture);
            welcomePicture = nullptr;
            break;
        default: break;
    }
    return FALSE;
}

}  // namespace quillset
