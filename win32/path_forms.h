// The short (8.3) and long forms of an existing path, however long they are.
#pragma once

#include <string>

namespace quillset {

// The path itself when the platform gives no such form (no such file, no short names on the
// volume, or, for the long form, the first Windows 95, which lacks the call), and when the short
// form would lead to another file.
std::string shortPathOf(const std::string& path);
std::string longPathOf(const std::string& path);

}  // namespace quillset
