// Creating directories for the installation: every missing level, so that a destination such as
// C:\Program Files\Vendor\App\ or a nested program group works although its parents do not exist.
#pragma once

#include <string>

namespace quillset {

// Creates every level of `directory` that does not exist yet. Failures are not reported: the step
// that needs the directory meets the consequence and reports it in its own way. Directories are
// not logged, so an uninstaller never removes a folder it did not make through the log.
void createDirectories(const std::string& directory);

}  // namespace quillset
