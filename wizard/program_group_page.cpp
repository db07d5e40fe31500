#include "page_frame.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the choice of the program group, is not built yet.
INT_PTR ProgramGroupPageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, page, message, lParam, wParam, Page::ProgramGroup);
    return FALSE;
}

}  // namespace quillset
