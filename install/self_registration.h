// Shared files that are servers register themselves once installed.
#pragma once

#include <string>

#include "install_platform.h"

namespace quillset {

// Loads the installed file `path` as a library and, when it exports DllRegisterServer, calls it.
// The installed file itself is loaded, by its full path; what it needs comes from its folder and
// the system folder, never from the medium.
ServerRegistration registerInstalledServer(const std::string& path);

}  // namespace quillset
