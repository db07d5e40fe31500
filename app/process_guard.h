// The process guard behind ForbidProcess: is a program with a given file name running?
// Works on both platform families: the process status library (and the 16-bit tasks of NTVDM
// through the VDM debugging library) on the NT family, the ToolHelp functions on Windows 95/98/ME.
#pragma once

#include <windows.h>

#include <string>

namespace quillset {

// Called once per process or 16-bit task; `task` is 0 for a 32-bit process, `fileName` is empty
// when it could not be read. Returns non-zero to go on, 0 to stop the walk.
using ProcessCallback = BOOL(CALLBACK*)(DWORD processId, WORD task, LPSTR fileName, LPARAM user);

// Walks the running processes. TRUE when the walk was made (also when the callback stopped it),
// FALSE when it could not start or failed on the way. Every library is looked up at run time.
BOOL EnumerateProcesses(ProcessCallback callback, LPARAM user);

// The callback of IsProcessRunning: records the file name, lower case and without directory, in the
// table that `table` points to (a std::vector<std::string>).
BOOL CALLBACK RecordProcessName(DWORD processId, WORD task, LPSTR fileName, LPARAM table);

// Whether a process or 16-bit task has this file name, compared without directory. The name comes
// with its letters A-Z in lower case (lowerCaseAscii). A walk that fails on the way answers from the
// processes it saw before.
bool IsProcessRunning(const std::string& lowerCaseName);

}  // namespace quillset
