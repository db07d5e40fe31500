#include "win32_install_prompt.h"

#include <windows.h>

#include "conflict_dialogs.h"
#include "message_box.h"

namespace quillset {

static_assert(Prompt::Ok == MB_OK && Prompt::AbortRetryIgnore == MB_ABORTRETRYIGNORE && Prompt::YesNo == MB_YESNO &&
                  Prompt::IconError == MB_ICONERROR && Prompt::DefaultButton2 == MB_DEFBUTTON2,
              "message box styles");
static_assert(Prompt::AnswerOk == IDOK && Prompt::AnswerAbort == IDABORT && Prompt::AnswerRetry == IDRETRY &&
                  Prompt::AnswerIgnore == IDIGNORE && Prompt::AnswerYes == IDYES && Prompt::AnswerNo == IDNO,
              "message box answers");

int Win32InstallPrompt::showMessage(const std::string& text, const std::string& caption, unsigned style,
                                    PromptOwner owner) {
    HWND window = owner == PromptOwner::mainWindow ? static_cast<HWND>(state_.session.mainWindow) : nullptr;
    return showMessageBox(text, caption, style, window);
}

int Win32InstallPrompt::askLanguageConflict() {
    const int answer = quillset::askLanguageConflict(static_cast<HINSTANCE>(state_.session.instance),
                                                     static_cast<HWND>(state_.session.mainWindow),
                                                     state_.run.conflictSourcePath, state_.run.conflictDestinationPath);
    if (answer == 2) state_.run.installAll = true;
    return answer;
}

}  // namespace quillset
