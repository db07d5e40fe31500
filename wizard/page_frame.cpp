#include "page_frame.h"

#include "custom_controls.h"
#include "dynamic_state.h"
#include "quit_setup.h"
#include "setup_globals.h"

namespace quillset {

namespace {

// The dialog procedure made for each page procedure: hands it the one setup state. The timer
// keeps Next in line with the script's rules, but a tick comes only when the page's queue is
// empty: a page opens with Next set as the rules have it, and a Next that the rules forbid (an
// Enter typed ahead, a click within a tick of clearing the box) is refused before the page sees it.
template <PageProcedure procedure>
INT_PTR CALLBACK dialogProcedureFor(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    SetupState& state = setupState();
    Win32Session& windows = win32Session();
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_NEXT && page == windows.pageWindow &&
        !nextAllowed(state, windows))
        return FALSE;
    const INT_PTR result = procedure(state, windows, page, message, wParam, lParam);
    if (message == WM_INITDIALOG) applyNextState(state, windows);
    return result;
}

// The window side of the page list: each page's dialog template and procedure, in the order of
// the Page enum.
struct PageWindow {
    Page page;
    int templateId;
    DLGPROC procedure;
};

constexpr PageWindow kPageWindows[] = {
    {Page::Welcome, IDD_WELCOME, dialogProcedureFor<WelcomePageProc>},
    {Page::Destination, IDD_DESTINATION, dialogProcedureFor<DestinationPageProc>},
    {Page::Sections, IDD_SECTIONS, dialogProcedureFor<SectionsPageProc>},
    {Page::ProgramGroup, IDD_PROGRAM_GROUP, dialogProcedureFor<ProgramGroupPageProc>},
    {Page::Copy, IDD_COPY, dialogProcedureFor<CopyPageProc>},
};

constexpr bool inPageOrder() {
    if (sizeof kPageWindows / sizeof kPageWindows[0] != sizeof kPageTable / sizeof kPageTable[0]) return false;
    for (std::size_t i = 0; i < sizeof kPageWindows / sizeof kPageWindows[0]; ++i)
        if (kPageWindows[i].page != kPageTable[i].page) return false;
    return true;
}
static_assert(inPageOrder(), "one window row per page, in the order of the Page enum");

const PageWindow& pageWindow(Page page) { return kPageWindows[static_cast<int>(page)]; }

}  // namespace

void PageCommonProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam, LPARAM lParam,
                    Page pageId) {
    windows.pageWindow = page;
    state.session.currentPageName = pageName(pageId);

    if (message == WM_SETFONT) windows.pageFont = reinterpret_cast<HFONT>(wParam);
    if (message == WM_INITDIALOG) createPageControls(state, windows, page, pageId);
    if (message == WM_DESTROY) destroyPageControls(state, windows, pageId);
    if (message != WM_COMMAND) return;
    const WORD id = LOWORD(wParam);
    // The script's own controls all have the ID 0.
    if (id == 0) {
        RunButtonActions(state, windows, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return;
    }
    // Whatever the notification: a click, Enter on the default button, an accelerator.
    if (id == IDC_NEXT) {
        EndDialog(page, PageResult::next);
    } else if (id == IDC_CANCEL) {
        if (QuitSetup(QuitMode::askFirst)) EndDialog(page, PageResult::cancelled);
    }
    // IDCANCEL (2), which Esc and the close box send, is deliberately ignored: only the Cancel
    // button, with its question, leaves a page that way.
}

DLGPROC pageDialogProcedure(Page page) { return pageWindow(page).procedure; }

int ShowWizardPage(const Win32Session& windows, Page page) {
    const INT_PTR result = DialogBoxParamA(windows.instance, MAKEINTRESOURCEA(pageWindow(page).templateId),
                                           windows.mainWindow, pageDialogProcedure(page), 0);
    return static_cast<int>(result);
}

}  // namespace quillset
