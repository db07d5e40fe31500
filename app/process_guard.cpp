#include "process_guard.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "handle.h"
#include "process_names.h"
#include "system_library.h"
#include "windows_version.h"

namespace quillset {

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using TaskEnumProcEx = BOOL(WINAPI*)(DWORD threadId, WORD module16, WORD task16, LPSTR moduleName,
                                     LPSTR fileName, LPARAM user);
using VDMEnumTaskWOWExFn = INT(WINAPI*)(DWORD processId, TaskEnumProcEx callback, LPARAM user);
using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32FirstFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using Process32NextFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

// Room for any path the system can give; a 260-byte buffer would cut off the file name of a
// program that lives in a deep directory, and such a program could then never be found.
constexpr DWORD kFileNameCapacity = 32768;

// Handed through the VDM library to the task callback.
struct TaskWalk {
    DWORD processId;
    ProcessCallback callback;
    LPARAM user;
    int stopped;
};

BOOL WINAPI onTask(DWORD, WORD, WORD task16, LPSTR, LPSTR fileName, LPARAM user) {
    TaskWalk* walk = reinterpret_cast<TaskWalk*>(user);
    if (walk->callback(walk->processId, task16, fileName, walk->user) == 0) {
        walk->stopped = 1;
        return TRUE;  // ends VDMEnumTaskWOWEx
    }
    return FALSE;
}

template <typename Fn>
Fn lookUp(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool endsWithNtvdm(const char* fileName) {
    const std::size_t length = lstrlenA(fileName);
    return length >= 9 && lstrcmpiA(fileName + length - 9, "NTVDM.EXE") == 0;
}

BOOL enumerateNt(ProcessCallback callback, LPARAM user) {
    const Library psapi(systemLibrary("psapi.dll"));
    const Library vdmdbg(systemLibrary("vdmdbg.dll"));
    if (!psapi.valid() || !vdmdbg.valid()) return FALSE;
    const auto enumProcesses = lookUp<EnumProcessesFn>(psapi.get(), "EnumProcesses");
    const auto enumProcessModules = lookUp<EnumProcessModulesFn>(psapi.get(), "EnumProcessModules");
    const auto getModuleFileNameEx = lookUp<GetModuleFileNameExAFn>(psapi.get(), "GetModuleFileNameExA");
    const auto enumTasks = lookUp<VDMEnumTaskWOWExFn>(vdmdbg.get(), "VDMEnumTaskWOWEx");
    if (!enumProcesses || !enumProcessModules || !getModuleFileNameEx || !enumTasks) return FALSE;

    // The list may have been cut short whenever it fills the buffer: grow and ask again.
    std::vector<DWORD> ids(256);
    DWORD returned = 0;
    for (;;) {
        const DWORD size = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        if (!enumProcesses(ids.data(), size, &returned)) return FALSE;
        if (returned < size) break;
        ids.resize(ids.size() * 2);
    }

    std::vector<char> fileName(kFileNameCapacity);
    const DWORD count = returned / sizeof(DWORD);
    for (DWORD i = 0; i < count; ++i) {
        fileName[0] = '\0';
        const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (process.valid()) {
            HMODULE module = nullptr;
            DWORD needed = 0;
            if (enumProcessModules(process.get(), &module, sizeof module, &needed)) {
                if (getModuleFileNameEx(process.get(), module, fileName.data(), kFileNameCapacity) == 0)
                    fileName[0] = '\0';
            }
        }
        if (callback(ids[i], 0, fileName.data(), user) == 0) break;
        if (endsWithNtvdm(fileName.data())) {
            TaskWalk walk{ids[i], callback, user, 0};
            enumTasks(ids[i], onTask, reinterpret_cast<LPARAM>(&walk));
            if (walk.stopped) break;
        }
    }
    return TRUE;
}

BOOL enumerateWindows9x(ProcessCallback callback, LPARAM user) {
    // Looked up rather than imported: Windows NT 4 has no ToolHelp.
    const auto createSnapshot = kernelFunction<CreateToolhelp32SnapshotFn>("CreateToolhelp32Snapshot");
    const auto first = kernelFunction<Process32FirstFn>("Process32First");
    const auto next = kernelFunction<Process32NextFn>("Process32Next");
    if (!createSnapshot || !first || !next) return FALSE;
    const FileHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return FALSE;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = first(snapshot.get(), &entry); more; more = next(snapshot.get(), &entry)) {
        if (callback(entry.th32ProcessID, 0, entry.szExeFile, user) == 0) break;
        entry.dwSize = sizeof entry;
    }
    return TRUE;
}

}  // namespace

BOOL EnumerateProcesses(ProcessCallback callback, LPARAM user) {
    switch (windowsFamily()) {
        case WindowsFamily::nt: return enumerateNt(callback, user);
        case WindowsFamily::windows9x: return enumerateWindows9x(callback, user);
        case WindowsFamily::other: return FALSE;
    }
    return FALSE;
}

BOOL CALLBACK RecordProcessName(DWORD, WORD, LPSTR fileName, LPARAM table) {
    reinterpret_cast<std::vector<std::string>*>(table)->push_back(recordedProcessName(fileName));
    return TRUE;
}

bool IsProcessRunning(const std::string& lowerCaseName) {
    // The table grows with the walk, so no process is left out however many run.
    std::vector<std::string> names;
    EnumerateProcesses(RecordProcessName, reinterpret_cast<LPARAM>(&names));
    return std::find(names.begin(), names.end(), lowerCaseName) != names.end();
}

}  // namespace quillset
