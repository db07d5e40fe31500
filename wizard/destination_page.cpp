#include <string>

#include "ask_for_folder.h"
#include "dialog_item_text.h"
#include "free_disk_space.h"
#include "message_box.h"
#include "page_choices.h"
#include "page_frame.h"

namespace quillset {

namespace {

// Every notification of the path edit: whether Next may accept the path, and its drive's free space.
void pathChanged(SetupState& state, HWND page) {
    const std::string path = dialogItemText(page, IDC_DEST_PATH);
    state.choices.destinationAccepted = destinationAcceptable(path);
    SetDlgItemTextA(page, IDC_DEST_FREE_SPACE, freeSpaceText(GetFreeDiskSpace(path)).c_str());
}

// Next: the typed path becomes DP, unless the user declines a directory that does not exist yet
// (the copy page creates it). A path too short to accept never gets through, even when Enter
// comes before the timer has disabled Next; a path too long to hold the installation is refused
// with a message.
bool acceptDestination(SetupState& state, HWND page) {
    const std::string path = dialogItemText(page, IDC_DEST_PATH);
    if (!destinationAcceptable(path)) return false;
    if (path.size() > kLongestDestination) {
        showMessageBox("The path is too long: it may have at most " + std::to_string(kLongestDestination) +
                           " characters.",
                       "Destination directory", MB_OK | MB_ICONERROR, page);
        return false;
    }
    if (IsDlgButtonChecked(page, IDC_DEST_ASK_CREATE) == BST_CHECKED &&
        GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        showMessageBox("Directory does not exist, should it be created?", "Directory does not exist",
                       MB_YESNO | MB_ICONQUESTION) == IDNO)
        return false;
    state.variables.set("DP", path);
    return true;
}

// Choose: the chosen folder with the application's own folder in it.
void chooseFolder(SetupState& state, HWND page) {
    const std::string folder = askForFolder(page, false);
    if (folder.empty()) return;
    const std::string destination = chosenDestination(folder, state.variables["APPNAME"]);
    state.variables.set("DP", destination);
    SetDlgItemTextA(page, IDC_DEST_PATH, destination.c_str());
    pathChanged(state, page);
}

}  // namespace

// The installation directory: typed or chosen, with the free space of its drive.
INT_PTR DestinationPageProc(SetupState& state, Win32Session& windows, HWND page, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_NEXT && !acceptDestination(state, page)) return FALSE;
    PageCommonProc(state, windows, page, message, wParam, lParam, Page::Destination);
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(page, IDC_DEST_PATH, state.variables["DP"].c_str());
        pathChanged(state, page);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_DEST_PATH) {
        pathChanged(state, page);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_DEST_CHOOSE) {
        chooseFolder(state, page);
    }
    return FALSE;
}

}  // namespace quillset
