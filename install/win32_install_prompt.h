// The questions of an installation, asked of the user: message boxes and the language conflict
// dialog, whose "Install all" answers every later conflict of the run.
#pragma once

#include "install_result.h"
#include "setup_state.h"

namespace quillset {

class Win32InstallPrompt : public InstallPrompt {
public:
    explicit Win32InstallPrompt(SetupState& state) : state_(state) {}
    int showMessage(const std::string& text, const std::string& caption, unsigned style, PromptOwner owner) override;
    int askLanguageConflict() override;

private:
    SetupState& state_;
};

}  // namespace quillset
