#include "setup_globals.h"

#include <windows.h>

namespace quillset {

SetupState& setupState() {
    // The reader's name characters are the letters and digits of the user's ANSI code page; a script
    // that cannot be opened is reported in a message box without owner.
    static SetupState state(
        [](unsigned char c) { return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE; },
        [](const std::string& caption, const std::string& text) {
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
        });
    return state;
}

}  // namespace quillset
