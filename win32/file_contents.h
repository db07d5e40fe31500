// Reading a whole file at once (Uninstall.log, for the installer's entry and for the uninstaller).
#pragma once

#include <cstddef>
#include <string>

namespace quillset {

// The file's bytes; false when it cannot be opened or read, or holds more than `largest` bytes.
bool readFileContents(const std::string& path, std::string& bytes, std::size_t largest);

}  // namespace quillset
