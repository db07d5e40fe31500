// The script reader's name characters on Windows: the letters and digits of the user's ANSI code
// page, as the system tells them.
#pragma once

namespace quillset {

bool isWindowsNameCharacter(unsigned char c);

}  // namespace quillset
