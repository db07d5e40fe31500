// How the installation engine reaches the user. The engine shows no window: every message and
// question of a run goes through the InstallPrompt that the page running it hands in. Setup.exe's
// shows message boxes and the conflict dialogs (wizard/); tests answer from a script.
#pragma once

#include <string>

namespace quillset {

// Message box styles and answers, with the platform's values (the Win32 prompt checks they agree).
namespace Prompt {
constexpr unsigned Ok = 0x0;                // MB_OK
constexpr unsigned AbortRetryIgnore = 0x2;  // MB_ABORTRETRYIGNORE
constexpr unsigned YesNo = 0x4;             // MB_YESNO
constexpr unsigned IconError = 0x10;        // MB_ICONERROR
constexpr unsigned DefaultButton2 = 0x100;  // MB_DEFBUTTON2
constexpr int AnswerOk = 1, AnswerAbort = 3, AnswerRetry = 4, AnswerIgnore = 5, AnswerYes = 6, AnswerNo = 7;
}  // namespace Prompt

// The window a message box belongs to.
enum class PromptOwner {
    none,        // the box stands on its own, as most of the engine's messages do
    mainWindow,  // the full-screen main window
    page,        // the page that runs the engine
};

// The answer to the two conflict questions (the dialogs' results). The engine applies the "all"
// answers to the run: "Install all" answers every later language or code page conflict, and
// "Overwrite every file" every later existing file and those conflicts both.
enum class ConflictAnswer {
    notShown = -1,  // the dialog could not be shown
    no = 0,
    yes = 1,
    all = 2,  // "Install all" / "Overwrite every file"
};

class InstallPrompt {
public:
    virtual ~InstallPrompt() = default;
    // A message box; returns the answer (Prompt::Answer...), 0 when it could not be shown.
    virtual int showMessage(const std::string& text, const std::string& caption, unsigned style, PromptOwner owner) = 0;
    // The language or code page conflict question about these two files (owner: the main window).
    virtual ConflictAnswer askLanguageConflict(const std::string& sourcePath, const std::string& destinationPath) = 0;
    // Whether the existing file `destinationPath` is overwritten (owner: the page).
    virtual ConflictAnswer askOverwrite(const std::string& destinationPath) = 0;
};

}  // namespace quillset
