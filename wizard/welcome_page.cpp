#include "page_frame.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the welcome texts, the window title and the picture, is not built yet.
INT_PTR WelcomePageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, page, message, lParam, wParam, Page::Welcome);
    return FALSE;
}

}  // namespace quillset
