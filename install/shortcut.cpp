#include "shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

namespace quillset {

namespace {

// The shell link's class and the two interfaces it is used through, defined here rather than taken
// from the import library of all the system's GUIDs, which would add 40 KB to the program.
const CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The ANSI path as the shell's wide-character save wants it, in the system's code page, so that a
// name such as "Caf\xE9" or one with a euro sign keeps its characters. (A vector, not a wide
// string: the program needs no wide string otherwise, and the library's would add 35 KB.)
std::vector<wchar_t> widePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

}  // namespace

HRESULT makeShortcut(const std::string& target, const std::string& linkPath, const std::string& description) {
    if (linkPath.size() >= MAX_PATH) return E_INVALIDARG;

    IShellLinkA* link = nullptr;
    HRESULT status = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                      reinterpret_cast<void**>(&link));
    if (FAILED(status)) return status;
    link->SetPath(target.c_str());
    link->SetDescription(description.c_str());

    IPersistFile* file = nullptr;
    status = link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file));
    if (FAILED(status)) {
        link->Release();
        return status;
    }
    status = file->Save(widePath(linkPath).data(), TRUE);
    file->Release();
    link->Release();
    return status;
}

}  // namespace quillset
