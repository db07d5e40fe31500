// The questions of an installation, asked of the user: message boxes and the language conflict
// dialog, whose "Install all" answers every later conflict of the run.
#pragma once

#include <windows.h>

#include "install_result.h"

namespace quillset {

class Win32InstallPrompt : public InstallPrompt {
public:
    // `instance` holds the dialog template, `mainWindow` owns what asks the main window as owner;
    // "Install all" sets `installAll` for the rest of the run.
    Win32InstallPrompt(HINSTANCE instance, HWND mainWindow, bool& installAll)
        : instance_(instance), mainWindow_(mainWindow), installAll_(installAll) {}
    int showMessage(const std::string& text, const std::string& caption, unsigned style, PromptOwner owner) override;
    ConflictAnswer askLanguageConflict(const std::string& sourcePath, const std::string& destinationPath) override;

private:
    HINSTANCE instance_;
    HWND mainWindow_;
    bool& installAll_;
};

}  // namespace quillset
