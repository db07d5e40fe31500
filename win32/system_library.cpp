#include "system_library.h"

#include <string>

#include "system_directories.h"

namespace quillset {

namespace {

// The flags of LoadLibraryExA and SetDefaultDllDirectories that the headers for Windows 4.0 do
// not declare.
constexpr DWORD kSearchDllLoadDirectory = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
constexpr DWORD kSearchSystem32 = 0x00000800;          // LOAD_LIBRARY_SEARCH_SYSTEM32

// Whether SetDefaultDllDirectories took: then LoadLibraryExA understands the search flags above.
bool searchRestricted = false;

}  // namespace

void* kernelFunctionAddress(const char* name) {
    const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(kernel, name));
}

void restrictLibrarySearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
    // Windows 8 and later, Vista and 7 with their loader update.
    if (const auto setDefault = kernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories"))
        searchRestricted = setDefault(kSearchSystem32) != FALSE;
    // Windows XP SP1 and later: the current directory (a medium, a download folder) leaves the order.
    if (const auto setDirectory = kernelFunction<SetDllDirectoryFunction>("SetDllDirectoryA")) setDirectory("");
}

HMODULE systemLibrary(const char* name) {
    const std::string path = systemDirectory() + "\\" + name;
    return loadInstalledLibrary(path.c_str());
}

HMODULE loadInstalledLibrary(const char* path) {
    // Without the search flags, the altered order starts the search for the libraries this one
    // needs in its own folder rather than in the program's.
    return LoadLibraryExA(path, nullptr,
                          searchRestricted ? kSearchDllLoadDirectory | kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace quillset
