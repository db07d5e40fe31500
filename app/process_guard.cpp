#include "process_guard.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "process_names.h"

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
    HMODULE psapi = LoadLibraryA("PSAPI.DLL");
    HMODULE vdmdbg = LoadLibraryA("VDMDBG.DLL");
    if (psapi == nullptr || vdmdbg == nullptr) {
        if (psapi != nullptr) FreeLibrary(psapi);
        if (vdmdbg != nullptr) FreeLibrary(vdmdbg);
        return FALSE;
    }
    const auto freeLibraries = [&] {
        FreeLibrary(psapi);
        FreeLibrary(vdmdbg);
    };
    const auto enumProcesses = lookUp<EnumProcessesFn>(psapi, "EnumProcesses");
    const auto enumProcessModules = lookUp<EnumProcessModulesFn>(psapi, "EnumProcessModules");
    const auto getModuleFileNameEx = lookUp<GetModuleFileNameExAFn>(psapi, "GetModuleFileNameExA");
    const auto enumTasks = lookUp<VDMEnumTaskWOWExFn>(vdmdbg, "VDMEnumTaskWOWEx");
    if (!enumProcesses || !enumProcessModules || !getModuleFileNameEx || !enumTasks) {
        freeLibraries();
        return FALSE;
    }

    // The list may have been cut short whenever it fills the buffer: grow and ask again.
    HANDLE heap = GetProcessHeap();
    DWORD size = 1024;
    DWORD returned = 0;
    DWORD* ids = nullptr;
    for (;;) {
        ids = static_cast<DWORD*>(HeapAlloc(heap, 0, size));
        if (ids == nullptr) {
            freeLibraries();
            return FALSE;
        }
        if (!enumProcesses(ids, size, &returned)) {
            HeapFree(heap, 0, ids);
            freeLibraries();
            return FALSE;
        }
        if (returned < size) break;
        HeapFree(heap, 0, ids);
        size *= 2;
    }

    std::vector<char> fileName(kFileNameCapacity);
    const DWORD count = returned / sizeof(DWORD);
    for (DWORD i = 0; i < count; ++i) {
        fileName[0] = '\0';
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process != nullptr) {
            HMODULE module = nullptr;
            DWORD needed = 0;
            if (enumProcessModules(process, &module, sizeof module, &needed)) {
                if (getModuleFileNameEx(process, module, fileName.data(), kFileNameCapacity) == 0) fileName[0] = '\0';
            }
            CloseHandle(process);
        }
        if (callback(ids[i], 0, fileName.data(), user) == 0) break;
        if (endsWithNtvdm(fileName.data())) {
            TaskWalk walk{ids[i], callback, user, 0};
            enumTasks(ids[i], onTask, reinterpret_cast<LPARAM>(&walk));
            if (walk.stopped) break;
        }
    }
    HeapFree(heap, 0, ids);
    freeLibraries();
    return TRUE;
}

BOOL enumerateWindows9x(ProcessCallback callback, LPARAM user) {
    HMODULE kernel = LoadLibraryA("Kernel32.DLL");
    if (kernel == nullptr) return FALSE;
    const auto createSnapshot = lookUp<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    const auto first = lookUp<Process32FirstFn>(kernel, "Process32First");
    const auto next = lookUp<Process32NextFn>(kernel, "Process32Next");
    if (!createSnapshot || !first || !next) {
        FreeLibrary(kernel);
        return FALSE;
    }
    HANDLE snapshot = createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        FreeLibrary(kernel);
        return FALSE;
    }
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
        if (callback(entry.th32ProcessID, 0, entry.szExeFile, user) == 0) break;
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    FreeLibrary(kernel);
    return TRUE;
}

}  // namespace

BOOL EnumerateProcesses(ProcessCallback callback, LPARAM user) {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return FALSE;
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32_NT: return enumerateNt(callback, user);
        case VER_PLATFORM_WIN32_WINDOWS: return enumerateWindows9x(callback, user);
        default: return FALSE;
    }
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
