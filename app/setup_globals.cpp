#include "setup_globals.h"

#include <windows.h>

namespace quillset {

bool isWindowsNameCharacter(unsigned char c) { return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE; }

SetupState& setupState() {
    // A script that cannot be opened is reported in a message box without owner.
    static SetupState state(
        isWindowsNameCharacter,
        [](const std::string& caption, const std::string& text) {
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        });
    return state;
}

}  // namespace quillset
