#include "page_frame.h"
#include "setup_globals.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the list of sections with their sizes, is not built yet.
INT_PTR CALLBACK SectionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(setupState().session, page, message, lParam, wParam, Page::Sections);
    return FALSE;
}

}  // namespace quillset
