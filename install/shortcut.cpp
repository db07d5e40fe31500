#include "shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

namespace quillset {

namespace {

// The ANSI path as the shell's wide-character save wants it, in the system's code page, so that a
// name such as "Caf\xE9" or one with a euro sign keeps its characters.
std::wstring widePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

}  // namespace

HRESULT makeShortcut(const std::string& target, const std::string& linkPath, const std::string& description) {
    if (linkPath.size() >= MAX_PATH) return E_INVALIDARG;

    IShellLinkA* link = nullptr;
    HRESULT status = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    if (FAILED(status)) return status;
    link->SetPath(target.c_str());
    link->SetDescription(description.c_str());

    IPersistFile* file = nullptr;
    status = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (FAILED(status)) {
        link->Release();
        return status;
    }
    status = file->Save(widePath(linkPath).c_str(), TRUE);
    file->Release();
    link->Release();
    return status;
}

}  // namespace quillset
