#include "page_frame.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the list of sections with their sizes, is not built yet.
INT_PTR SectionsPageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, page, message, lParam, wParam, Page::Sections);
    return FALSE;
}

}  // namespace quillset
