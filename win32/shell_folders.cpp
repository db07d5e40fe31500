#include "shell_folders.h"

#include <shlobj.h>

namespace quillset {

namespace {

// Item lists come from the shell's allocator and go back to it.
void freeItemList(LPITEMIDLIST items) {
    if (items == nullptr) return;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(items);
        allocator->Release();
    }
}

std::string pathOf(LPCITEMIDLIST items) {
    char path[MAX_PATH] = "";  // the platform writes at most MAX_PATH characters here
    return SHGetPathFromIDListA(items, path) ? std::string(path) : std::string();
}

}  // namespace

std::string programsFolder() {
    LPITEMIDLIST items = nullptr;
    // The window the call takes is reserved: the shell shows nothing here.
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &items)) || items == nullptr) return "";
    const std::string path = pathOf(items);
    freeItemList(items);
    return path;
}

std::string browseForFolder(HWND owner, const char* title, bool belowPrograms) {
    LPITEMIDLIST root = nullptr;
    if (belowPrograms && FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PROGRAMS, &root))) root = nullptr;
    char displayName[MAX_PATH] = "";
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = root;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    const std::string path = chosen != nullptr ? pathOf(chosen) : std::string();
    freeItemList(chosen);
    freeItemList(root);
    return path;
}

}  // namespace quillset
