// The program's one SetupState. Window, dialog and timer procedures reach it through setupState().
#pragma once

#include "setup_state.h"

namespace quillset {

SetupState& setupState();

// The reader's name characters on Windows: the letters and digits of the user's ANSI code page.
bool isWindowsNameCharacter(unsigned char c);

}  // namespace quillset
