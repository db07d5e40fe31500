#include "uninstall_registration.h"

#include <windows.h>

#include "install_paths.h"

namespace quillset {

namespace {

// A REG_SZ value, its terminating zero counted in the size as the system expects.
void setText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

}  // namespace

std::string uninstallKeyPath(const std::string& appName) {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
}

bool RegisterUninstallEntry(UninstallLog& log, const std::string& appName, const std::string& destination) {
    log.beginRegistry();
    const std::string keyPath = uninstallKeyPath(appName);
    // The key line is in the log before the key exists (the line is written whatever the creation
    // gives): a run killed in between leaves no key that its log does not name.
    log.addRegistryKeyLine(keyPath);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    setText(key, "DisplayName", appName);
    setText(key, "UninstallString", joinPath(destination, "QSUninstall.exe"));
    RegCloseKey(key);
    return true;
}

}  // namespace quillset
