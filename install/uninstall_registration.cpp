#include "uninstall_registration.h"

#include <windows.h>

#include "path_forms.h"
#include "file_contents.h"

namespace quillset {

namespace {

// Far beyond any log (the uninstaller refuses larger ones).
constexpr std::size_t kLargestLog = 64u << 20;

// The bytes of the files in `destination` that the log at `logPath` names; none when the log
// cannot be read. A file that is gone counts nothing.
std::optional<std::uint64_t> bytesLoggedIn(const std::string& logPath, const std::string& destination) {
    std::string bytes;
    if (!readFileContents(logPath, bytes, kLargestLog)) return std::nullopt;
    std::uint64_t total = 0;
    for (const std::string& path : pathsInDestination(loggedPaths(bytes), {destination, shortPathOf(destination)})) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return total;
}

void writeValue(HKEY key, const UninstallEntryValue& value) {
    switch (value.kind) {
        case UninstallEntryValue::Kind::text:
            // The terminating zero counted in the size, as the system expects.
            RegSetValueExA(key, value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                           static_cast<DWORD>(value.text.size() + 1));
            break;
        case UninstallEntryValue::Kind::number: {
            const DWORD number = value.number;
            RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
            break;
        }
        case UninstallEntryValue::Kind::absent:
            RegDeleteValueA(key, value.name.c_str());
            break;
    }
}

}  // namespace

std::string uninstallKeyPath(const std::string& appName) {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
}

bool RegisterUninstallEntry(UninstallLog& log, const std::string& logPath, VariableTable& variables,
                            UninstallEntryRun run) {
    log.beginRegistry();
    const std::string keyPath = uninstallKeyPath(variables["APPNAME"]);
    // The key line is in the log before the key exists (the line is written whatever the creation
    // gives): a run killed in between leaves no key that its log does not name.
    log.addRegistryKeyLine(keyPath);
    // The log is whole now; its size in the destination is read back from the file itself.
    log.close();
    run.bytesInDestination = bytesLoggedIn(logPath, variables["DP"]);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    for (const UninstallEntryValue& value : uninstallEntryValues(variables.entries(), run)) writeValue(key, value);
    RegCloseKey(key);
    return true;
}

}  // namespace quillset
