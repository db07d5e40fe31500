// The language conflict and overwrite dialogs: they show what they are handed and end with the
// answer. Both procedures return FALSE for every message, WM_INITDIALOG included (so the dialog
// manager does not move the focus there), and leave the rest to the dialog manager.
#include "conflict_dialogs.h"

#include <string>

#include "resource_ids.h"
#include "version_info.h"

namespace quillset {
namespace {

struct LanguageConflictData {
    const std::string& sourcePath;
    const std::string& destinationPath;
};

// One file's language name and code page (unsigned decimal); a file without version information
// or without a translation entry leaves both fields empty.
void showLanguage(HWND dialog, const std::string& path, int languageField, int codePageField) {
    VersionInfo info;
    if (!readVersionInfo(path, info) || !info.hasTranslation) return;
    SetDlgItemTextA(dialog, languageField, info.languageName.c_str());
    SetDlgItemTextA(dialog, codePageField, std::to_string(static_cast<unsigned>(info.codePage)).c_str());
}

// Both questions answer 0 (No), 1 (Yes) or 2 (all) from one of their three buttons. IDCANCEL
// (Escape, the close box) and every other control give no answer.
void endOnAnswer(HWND dialog, WORD id, int noButton, int yesButton, int allButton) {
    if (id == noButton) EndDialog(dialog, 0);
    if (id == yesButton) EndDialog(dialog, 1);
    if (id == allButton) EndDialog(dialog, 2);
}

INT_PTR CALLBACK LanguageConflictDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto& data = *reinterpret_cast<const LanguageConflictData*>(lParam);
        SetDlgItemTextA(dialog, IDC_CONFLICT_SOURCE_FILE, data.sourcePath.c_str());
        SetDlgItemTextA(dialog, IDC_CONFLICT_DEST_FILE, data.destinationPath.c_str());
        showLanguage(dialog, data.sourcePath, IDC_CONFLICT_SOURCE_LANGUAGE, IDC_CONFLICT_SOURCE_CODEPAGE);
        showLanguage(dialog, data.destinationPath, IDC_CONFLICT_DEST_LANGUAGE, IDC_CONFLICT_DEST_CODEPAGE);
        break;
    }
    case WM_COMMAND: endOnAnswer(dialog, LOWORD(wParam), IDC_CONFLICT_NO, IDC_CONFLICT_YES, IDC_CONFLICT_INSTALL_ALL); break;
    default: break;
    }
    return FALSE;
}

INT_PTR CALLBACK OverwriteDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_OVERWRITE_PATH, reinterpret_cast<const std::string*>(lParam)->c_str());
        break;
    case WM_COMMAND: endOnAnswer(dialog, LOWORD(wParam), IDC_OVERWRITE_NO, IDC_OVERWRITE_YES, IDC_OVERWRITE_ALL); break;
    default: break;
    }
    return FALSE;
}

// DialogBoxParamA answers 0 for an owner that is not a window, which would read as "No": report
// it as the failure it is.
int showDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM data) {
    if (owner != nullptr && !IsWindow(owner)) return -1;
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, data));
}

}  // namespace

int askLanguageConflict(HINSTANCE instance, HWND owner, const std::string& sourcePath,
                        const std::string& destinationPath) {
    const LanguageConflictData data{sourcePath, destinationPath};
    return showDialog(instance, IDD_LANGUAGE_CONFLICT, owner, LanguageConflictDialog, reinterpret_cast<LPARAM>(&data));
}

int askOverwrite(HINSTANCE instance, HWND owner, const std::string& destinationPath) {
    return showDialog(instance, IDD_OVERWRITE, owner, OverwriteDialog, reinterpret_cast<LPARAM>(&destinationPath));
}

}  // namespace quillset
