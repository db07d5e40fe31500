#include "page_frame.h"

namespace quillset {

// The page shows its template and follows the page frame (Next, Cancel). Its own behaviour,
// the destination path, its free space and the folder browser, is not built yet.
INT_PTR DestinationPageProc(SetupState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageCommonProc(state, page, message, lParam, wParam, Page::Destination);
    return FALSE;
}

}  // namespace quillset
