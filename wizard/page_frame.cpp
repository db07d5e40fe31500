#include "page_frame.h"

#include "custom_controls.h"
#include "message_box.h"
#include "setup_globals.h"

namespace quillset {

namespace {

const char* const kQuitQuestion =
    "Are you really sure to quit setup? The application will be deleted if you click on Yes";
const char* const kQuitCaption = "Quit setup";

// The dialog procedure of a page: hands the page's procedure the one setup state.
template <PageProcedure procedure>
INT_PTR CALLBACK pageDialogProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure(setupState(), page, message, wParam, lParam);
}

// The procedure column of the page table, in the order of the Page enum.
#define QUILLSET_PAGE_PROCEDURE(member, statement, name, templateId, procedure) pageDialogProcedure<procedure>,
const DLGPROC kPageProcedures[] = {QUILLSET_PAGES(QUILLSET_PAGE_PROCEDURE)};
#undef QUILLSET_PAGE_PROCEDURE

}  // namespace

void PageCommonProc(SetupState& state, HWND page, UINT message, LPARAM lParam, WPARAM wParam, Page pageId) {
    Session& session = state.session;
    session.pageWindow = page;
    session.currentPageName = pageName(pageId);

    if (message == WM_SETFONT) session.pageFont = reinterpret_cast<FontHandle>(wParam);
    if (message == WM_INITDIALOG) createPageControls(state, page, pageId);
    if (message == WM_DESTROY) destroyPageControls(state, pageId);
    if (message != WM_COMMAND) return;
    const WORD id = LOWORD(wParam);
    // The script's own controls all have the ID 0.
    if (id == 0) {
        RunButtonActions(state, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return;
    }
    // Whatever the notification: a click, Enter on the default button, an accelerator.
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
        if (showMessageBox(kQuitQuestion, kQuitCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        PostQuitMessage(1);
        return true;
    }
    PostQuitMessage(2);
    return true;
}

std::string dialogItemText(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

DLGPROC pageDialogProcedure(Page page) { return kPageProcedures[static_cast<int>(page)]; }

int ShowWizardPage(const Session& session, Page page) {
    const INT_PTR result =
        DialogBoxParamA(static_cast<HINSTANCE>(session.instance), MAKEINTRESOURCEA(describePage(page).templateId),
                        static_cast<HWND>(session.mainWindow), pageDialogProcedure(page), 0);
    return static_cast<int>(result);
}

}  // namespace quillset
