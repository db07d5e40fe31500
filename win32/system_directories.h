// The directories the system names (Windows, system, current), however long they are.
#pragma once

#include <string>

namespace quillset {

std::string windowsDirectory();
std::string systemDirectory();
std::string currentDirectory();

}  // namespace quillset
