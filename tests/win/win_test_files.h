// What the Windows-side tests and the end-to-end probe share: where files go, and reading a
// shortcut back through the shell's link object.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace quillset {

// The temporary directory, with a backslash.
inline std::string tempDirectory() {
    char directory[MAX_PATH + 1];
    return std::string(directory, GetTempPathA(sizeof directory, directory));
}

// NAME in the directory of the running program, where the fixture libraries are built.
inline std::string besideProgram(const std::string& name) {
    char path[MAX_PATH] = "";
    const std::string own(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return own.substr(0, own.rfind('\\') + 1) + name;
}

// A file every Windows has, without a version resource.
inline std::string unversionedFile() {
    char directory[MAX_PATH] = "";
    return std::string(directory, GetWindowsDirectoryA(directory, sizeof directory)) + "\\win.ini";
}

// The target and the description stored in a link file (COM initialised by the caller).
inline bool readShortcut(const std::string& linkPath, std::string& target, std::string& description) {
    char targetText[MAX_PATH] = "", descriptionText[MAX_PATH] = "";
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    const bool read =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        file->Load(wide, STGM_READ) == S_OK && SUCCEEDED(link->GetPath(targetText, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetDescription(descriptionText, MAX_PATH));
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    target = targetText;
    description = descriptionText;
    return read;
}

}  // namespace quillset
