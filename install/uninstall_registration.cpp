#include "uninstall_registration.h"

#include <windows.h>

#include "handle.h"
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
    const RegistryKey key = createRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_ALL_ACCESS);
    if (!key.valid()) return false;
    setText(key.get(), "DisplayName", appName);
    setText(key.get(), "UninstallString", joinPath(destination, "QSUninstall.exe"));
    return true;
}

}  // namespace quillset
