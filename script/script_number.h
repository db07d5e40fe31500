// Numbers in script arguments.
#pragma once

#include <string>

namespace quillset {

// Converts an argument as atoi does: leading white space, an optional sign, then decimal digits up
// to the first other character; text without digits gives 0. Values beyond the int range are
// clamped to INT_MIN or INT_MAX, as the Windows C runtime clamps them (and never overflow).
int scriptNumber(const std::string& text);

}  // namespace quillset
