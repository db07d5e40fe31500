// qscheck log: an Uninstall.log as JSON, read by the uninstaller's own reader.
#pragma once

#include <string>

#include "uninstall_log_reader.h"

namespace quillset {

// {"date":"M/D/Y","records":[{"line":L,"kind":"nonshared|shortcut|shared","path":"...",
// "registration":"AUTOREGSVR"|"NOAUTOREGSVR"|null},...],"key":"Software\\...","complete":true} and a
// line end. A log cut off by a run that did not end: its whole records, "key":"" and
// "complete":false.
std::string uninstallLogJson(const UninstallLogContents& log);

}  // namespace quillset
