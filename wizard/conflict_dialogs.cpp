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

// Both questions answer No, Yes or all from one of their three buttons. IDCANCEL (Escape, the
// close box) and every other control give no answer.
void endOnAnswer(HWND dialog, WORD id, int noButton, int yesButton, int allButton) {
    if (id == noButton) EndDialog(dialog, static_cast<INT_PTR>(ConflictAnswer::no));
    if (id == yesButton) EndDialog(dialog, static_cast<INT_PTR>(ConflictAnswer::yes));
    if (id == allButton) EndDialog(dialog, static_cast<INT_PTR>(ConflictAnswer::all));
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
// it as the failure it is. A dialog that cannot be made answers -1, notShown.
ConflictAnswer showDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM data) {
    if (owner != nullptr && !IsWindow(owner)) return ConflictAnswer::notShown;
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, data);
    return result >= 0 && result <= 2 ? static_cast<ConflictAnswer>(result) : ConflictAnswer::notShown;
}

}  // namespace

ConflictAnswer askLanguageConflict(HINSTANCE instance, HWND owner, const std::string& sourcePath,
                                   const std::string& destinationPath) {
    const LanguageConflictData data{sourcePath, destinationPath};
    return showDialog(instance, IDD_LANGUAGE_CONFLICT, owner, LanguageConflictDialog, reinterpret_cast<LPARAM>(&data));
}

ConflictAnswer askOverwrite(HINSTANCE instance, HWND owner, const std::string& destinationPath) {
    return showDialog(instance, IDD_OVERWRITE, owner, OverwriteDialog, reinterpret_cast<LPARAM>(&destinationPath));
}

}  // namespace quillset
