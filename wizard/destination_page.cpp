#include "page_frame.h"
#include "setup_globals.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the destination path, its free space and the folder browser, is not built yet.
INT_PTR CALLBACK DestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(setupState().session, page, message, lParam, wParam, Page::Destination);
    return FALSE;
}

}  // namespace quillset
