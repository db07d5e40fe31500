#include "win32_install_prompt.h"

#include "conflict_dialogs.h"
#include "message_box.h"

namespace quillset {

static_assert(Prompt::Ok == MB_OK && Prompt::AbortRetryIgnore == MB_ABORTRETRYIGNORE && Prompt::YesNo == MB_YESNO &&
                  Prompt::IconError == MB_ICONERROR && Prompt::DefaultButton2 == MB_DEFBUTTON2,
              "message box styles");
static_assert(Prompt::AnswerOk == IDOK && Prompt::AnswerAbort == IDABORT && Prompt::AnswerRetry == IDRETRY &&
                  Prompt::AnswerIgnore == IDIGNORE && Prompt::AnswerYes == IDYES && Prompt::AnswerNo == IDNO,
              "message box answers");

HWND Win32InstallPrompt::ownerWindow(PromptOwner owner) const {
    switch (owner) {
        case PromptOwner::mainWindow: return mainWindow_;
        case PromptOwner::page: return page_;
        case PromptOwner::none: break;
    }
    return nullptr;
}

int Win32InstallPrompt::showMessage(const std::string& text, const std::string& caption, unsigned style,
                                    PromptOwner owner) {
    return showMessageBox(text, caption, style, ownerWindow(owner));
}

ConflictAnswer Win32InstallPrompt::askLanguageConflict(const std::string& sourcePath,
                                                       const std::string& destinationPath) {
    return quillset::askLanguageConflict(instance_, mainWindow_, sourcePath, destinationPath);
}

ConflictAnswer Win32InstallPrompt::askOverwrite(const std::string& destinationPath) {
    return quillset::askOverwrite(instance_, page_, destinationPath);
}

}  // namespace quillset
