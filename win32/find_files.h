// The platform's file search, as AddFile and qscheck use it.
#pragma once

#include <string>
#include <vector>

#include "setup_host.h"

namespace quillset {

// Entries matching `pattern` (FindFirstFileA / FindNextFileA), in the order the search gives them,
// with the short names the search tells.
std::vector<FoundFile> findFilesWin32(const std::string& pattern);

}  // namespace quillset
