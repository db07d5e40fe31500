#include "page_frame.h"

#include "resource_ids.h"
#include "setup_globals.h"

namespace quillset {

namespace {

const char* const kQuitQuestion =
    "Are you really sure to quit setup? The application will be deleted if you click on Yes";
const char* const kQuitCaption = "Quit setup";

DLGPROC pageProcedure(Page page) {
    switch (page) {
        case Page::Welcome: return WelcomePageProc;
        case Page::Destination: return DestinationPageProc;
        case Page::Sections: return SectionsPageProc;
        case Page::ProgramGroup: return ProgramGroupPageProc;
        case Page::Copy: return CopyPageProc;
    }
    return nullptr;
}

}  // namespace

void PageCommonProc(HWND page, UINT message, LPARAM, WPARAM wParam, const char* pageName) {
    SetupState& state = setupState();
    state.pageWindow = page;
    state.currentPageName = pageName;

    if (message != WM_COMMAND) return;
    // Whatever the notification: a click, Enter on the default button, an accelerator.
    const WORD id = LOWORD(wParam);
    if (id == IDC_NEXT) {
        EndDialog(page, 0);
    } else if (id == IDC_CANCEL) {
        if (QuitSetup(1)) EndDialog(page, -2);
    }
    // IDCANCEL (2), which Esc and the close box send, is deliberately ignored: only the Cancel
    // button, with its question, leaves a page that way.
}

bool QuitSetup(int mode) {
    if (mode == 1) {
        if (MessageBoxA(nullptr, kQuitQuestion, kQuitCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        PostQuitMessage(1);
        return true;
    }
    PostQuitMessage(2);
    return true;
}

int ShowWizardPage(Page page) {
    const SetupState& state = setupState();
    const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(state.instance), MAKEINTRESOURCEA(pageTemplateId(page)),
                                           static_cast<HWND>(state.mainWindow), pageProcedure(page), 0);
    return static_cast<int>(result);
}

}  // namespace quillset
