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

// The callback of IsProcessRunning: records the name in the setup state's table.
BOOL CALLBACK RecordProcessName(DWORD processId, WORD task, LPSTR fileName, LPARAM user);

// 1 when a process or 16-bit task has this file name (compared without directory, ignoring the
// case of A-Z), else 0. Lower-cases `name` in place.
int IsProcessRunning(std::string& name);

}  // namespace quillset
