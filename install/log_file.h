// Uninstall.log on disk: the file behind the log writer, and today's date for its header.
#pragma once

#include <string>

#include "install_prompt.h"
#include "uninstall_log.h"

namespace quillset {

// Opens `path` for the log, truncating it. When the file cannot be created the user is told through
// `prompt` that uninstalling will not be available, and the log drops every write.
void openUninstallLog(UninstallLog& log, const std::string& path, InstallPrompt& prompt);

// The local date (GetLocalTime).
LogDate todayForLog();

}  // namespace quillset
