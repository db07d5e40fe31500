// The questions of an installation, asked of the user: message boxes, the language conflict dialog
// and the overwrite dialog, owned by the main window or by the page that runs the engine.
#pragma once

#include <windows.h>

#include "install_prompt.h"

namespace quillset {

class Win32InstallPrompt : public InstallPrompt {
public:
    // `instance` holds the dialog templates; `mainWindow` and `page` own what asks them as owner.
    Win32InstallPrompt(HINSTANCE instance, HWND mainWindow, HWND page)
        : instance_(instance), mainWindow_(mainWindow), page_(page) {}
    int showMessage(const std::string& text, const std::string& caption, unsigned style, PromptOwner owner) override;
    ConflictAnswer askLanguageConflict(const std::string& sourcePath, const std::string& destinationPath) override;
    ConflictAnswer askOverwrite(const std::string& destinationPath) override;

private:
    HWND ownerWindow(PromptOwner owner) const;

    HINSTANCE instance_;
    HWND mainWindow_;
    HWND page_;
};

}  // namespace quillset
