#include "page_frame.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the installation run, is not built yet.
INT_PTR CopyPageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state.session, page, message, lParam, wParam, Page::Copy);
    return FALSE;
}

}  // namespace quillset
