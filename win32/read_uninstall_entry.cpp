#include "read_uninstall_entry.h"

#include <windows.h>

#include "handle.h"

namespace quillset {

namespace {

// A REG_SZ or REG_EXPAND_SZ value as it is stored (the installation writes plain text), without
// its terminating zero; empty when it is missing or of another type.
std::string textValue(HKEY key, const char* name) {
    char text[2 * MAX_PATH + 1] = "";
    DWORD type = 0, size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return "";
    text[size] = '\0';  // a value stored without its zero
    return text;
}

}  // namespace

UninstallEntry readUninstallEntryWin32(const std::string& appName) {
    UninstallEntry entry;
    const std::string keyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
    if (appName.empty()) return entry;
    const RegistryKey key = openRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_QUERY_VALUE);
    if (!key.valid()) return entry;
    entry.exists = true;
    entry.installLocation = textValue(key.get(), "InstallLocation");
    entry.uninstallString = textValue(key.get(), "UninstallString");
    return entry;
}

}  // namespace quillset
