// Reading a whole file on the Windows side of qsrun (the answers file, Uninstall.log, the page
// journal that the walked program may be appending to at the same time).
#pragma once

#include <string>

namespace quillset::qsrun {

// False when the file cannot be opened or read; `bytes` gets what was read.
bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace quillset::qsrun
