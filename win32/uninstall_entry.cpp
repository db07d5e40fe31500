#include "uninstall_entry.h"

#include <windows.h>

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
    HKEY key = nullptr;
    if (appName.empty() || RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return entry;
    entry.exists = true;
    entry.installLocation = textValue(key, "InstallLocation");
    entry.uninstallString = textValue(key, "UninstallString");
    RegCloseKey(key);
    return entry;
}

}  // namespace quillset
