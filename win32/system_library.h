// Libraries from the system folder only. Windows looks for a library that is not one of its
// "known" ones in the program's own folder first: a version.dll left in the Downloads folder
// beside Setup.exe, or beside the uninstaller, would run with their rights. So the programs import
// only the libraries Windows always takes from its own folder (kernel32, user32, gdi32, advapi32,
// shell32, ole32, msvcrt) and reach every other one through this file, by its full path.
#pragma once

#include <windows.h>

#include <atomic>

namespace quillset {

// First thing in WinMain: from now on the process loads libraries named without a path from the
// system folder only (SetDefaultDllDirectories, where the system has it), and never from the
// current directory (SetDllDirectoryA("")). Libraries the system's own libraries load later, on
// their own, follow the same order. Systems without either function go on as before.
void restrictLibrarySearch();

// The library NAME ("version.dll") from the system folder, by its full path; each call takes a
// reference, as LoadLibraryA does. nullptr when it is not there.
HMODULE systemLibrary(const char* name);

// A server or library installed at PATH, loaded by that path; the libraries it needs come from
// its own folder and the system folder, never from the program's.
HMODULE loadInstalledLibrary(const char* path);

// The address of the kernel32 function NAME, or nullptr when this Windows lacks it. Kernel32 is
// loaded in every process, so it is neither loaded nor held here.
void* kernelFunctionAddress(const char* name);

// A kernel32 function that came with a later Windows than the oldest the programs run on
// (GetLongPathNameA, GetDiskFreeSpaceExA, ToolHelp, ...): looked up by name, so that the programs
// still start where it is missing; nullptr there.
template <typename Function>
Function kernelFunction(const char* name) {
    return reinterpret_cast<Function>(kernelFunctionAddress(name));
}

// A function of a system library, looked up on first use and kept (any thread may ask).
template <typename Function>
class SystemFunction {
public:
    constexpr SystemFunction(const char* library, const char* name) : library_(library), name_(name) {}

    // The function, or nullptr when the library or the function is not there.
    Function get() const {
        void* address = address_.load(std::memory_order_acquire);
        if (address == nullptr) {
            HMODULE library = systemLibrary(library_);
            address = library == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(library, name_));
            address_.store(address, std::memory_order_release);
        }
        return reinterpret_cast<Function>(address);
    }

private:
    const char* library_;
    const char* name_;
    mutable std::atomic<void*> address_{nullptr};
};

}  // namespace quillset
