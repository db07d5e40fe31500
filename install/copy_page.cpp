#include "page_frame.h"
#include "setup_globals.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the installation run, is not built yet.
INT_PTR CALLBACK CopyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(setupState().session, page, message, lParam, wParam, Page::Copy);
    return FALSE;
}

}  // namespace quillset
