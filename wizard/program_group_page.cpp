#include "ask_for_folder.h"
#include "dialog_item_text.h"
#include "message_box.h"
#include "page_choices.h"
#include "page_frame.h"
#include "shell_folders.h"

namespace quillset {

namespace {

const char* const kCaption = "Program group";
const char* const kNoProgramsFolder =
    "The Programs folder of the Start menu could not be found. Please use an existing group or create no "
    "group.";
const char* const kGroupPathTooLong = "The name of the program group is too long. Please choose a shorter name.";

// Browse: an existing folder below the Programs folder becomes the group. Modal to the page, so
// that nothing on the page changes while the user chooses.
void browseExistingGroup(SetupState& state, HWND page) {
    const std::string folder = askForFolder(page, true);
    if (folder.empty()) return;
    SetDlgItemTextA(page, IDC_GROUP_EXISTING_PATH, folder.c_str());
    state.variables.set("PROGRAMGROUP", folder + "\\");
}

// Next: stores the choice. A new group needs the Programs folder and a path within the limit;
// otherwise the user is told and the page stays.
bool storeChoice(SetupState& state, HWND page) {
    if (IsDlgButtonChecked(page, IDC_GROUP_NONE) == BST_CHECKED) state.choices.createProgramGroup = false;
    if (IsDlgButtonChecked(page, IDC_GROUP_CREATE_NEW) != BST_CHECKED) return true;
    const std::string programs = programsFolder();
    const std::string group = newGroupPath(programs, dialogItemText(page, IDC_GROUP_NEW_NAME));
    if (group.empty()) {
        showMessageBox(programs.empty() ? kNoProgramsFolder : kGroupPathTooLong, kCaption, MB_OK | MB_ICONERROR, page);
        return false;
    }
    state.choices.createProgramGroup = true;
    state.variables.set("PROGRAMGROUP", group);
    return true;
}

}  // namespace

// Where the shortcuts go: a new group, an existing folder, or nowhere.
INT_PTR ProgramGroupPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CheckDlgButton(page, IDC_GROUP_CREATE_NEW, BST_CHECKED);
        SendDlgItemMessageA(page, IDC_GROUP_NEW_NAME, EM_LIMITTEXT, 255, 0);
        SetDlgItemTextA(page, IDC_GROUP_NEW_NAME, state.variables["PROGRAMGROUP"].c_str());
    } else if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_GROUP_BROWSE) && lParam != 0) {
            browseExistingGroup(state, page);
        } else if (id == IDC_GROUP_USE_EXISTING) {
            // Choosing an existing group with none chosen yet opens the browser at once.
            if (dialogItemText(page, IDC_GROUP_EXISTING_PATH).empty()) browseExistingGroup(state, page);
        } else if (id == IDC_NEXT && !storeChoice(state, page)) {
            return FALSE;
        }
    }
    PageCommonProc(state, windows, page, message, wParam, lParam, Page::ProgramGroup);
    return FALSE;
}

}  // namespace quillset
