#include "windows_name_character.h"

#include <windows.h>

namespace quillset {

bool isWindowsNameCharacter(unsigned char c) { return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE; }

}  // namespace quillset
