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

int Win32InstallPrompt::showMessage(const std::string& text, const std::string& caption, unsigned style,
                                    PromptOwner owner) {
    return showMessageBox(text, caption, style, owner == PromptOwner::mainWindow ? mainWindow_ : nullptr);
}

ConflictAnswer Win32InstallPrompt::askLanguageConflict(const std::string& sourcePath,
                                                       const std::string& destinationPath) {
    const ConflictAnswer answer = quillset::askLanguageConflict(instance_, mainWindow_, sourcePath, destinationPath);
    if (answer == ConflictAnswer::all) installAll_ = true;
    return answer;
}

}  // namespace quillset
