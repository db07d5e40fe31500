// Uninstall.log on disk: the file behind the log writer, and today's date for its header.
#pragma once

#include <memory>
#include <string>

#include "install_prompt.h"
#include "uninstall_log.h"

namespace quillset {

// Opens `path` for the log, truncating it. When the file cannot be created the user is told through
// `prompt` that uninstalling will not be available, and the log drops every write.
void openUninstallLog(UninstallLog& log, const std::string& path, InstallPrompt& prompt);

// Tells the user that uninstalling will not be available, and has the log drop every write.
void logNotCreated(UninstallLog& log, InstallPrompt& prompt);

// A log file made anew (truncated) or opened to add to its end; null when it cannot be. Writes go
// straight to the file; the sink's flush hands them to the disk (FlushFileBuffers).
std::unique_ptr<ByteSink> createLogFile(const std::string& path);
std::unique_ptr<ByteSink> openLogFileForAdding(const std::string& path);

// The local date (GetLocalTime).
LogDate todayForLog();

}  // namespace quillset
