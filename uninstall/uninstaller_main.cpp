// QSUninstall.exe: removes an installation by its Uninstall.log, which lies next to it in the
// installation directory. It asks once, then removes, in reverse log order, the shortcuts and the
// files that were not shared, the folders that became empty through that, the Uninstall key,
// itself (at the next restart where the system keeps a running program's file) and, last, the
// log. Shared files stay: other programs may use them. What cannot be removed is named at the
// end, never dropped silently. The exit codes are in uninstall_exit_codes.h.
//
// Every step can be repeated: an uninstaller that is stopped half-way (killed, the power failed)
// finds the log where it was and, started again, finishes the job. An installation that was
// stopped half-way left a log without its end and no Uninstall entry; the user starts the
// uninstaller in the installation's folder, and it removes what the log records.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "handle.h"
#include "message_box.h"
#include "path_forms.h"
#include "path_text.h"
#include "self_removal.h"
#include "system_directories.h"
#include "system_library.h"
#include "uninstall_exit_codes.h"
#include "uninstall_log_reader.h"
#include "uninstall_plan.h"
#include "windows_version.h"

using namespace quillset;

namespace {

const char* const kCaption = "Uninstall";
constexpr std::size_t kLargestLog = 64u << 20;  // far beyond any log; refuses a stray huge file
constexpr std::size_t kListedNames = 15;        // names per list in the closing report

std::string ownPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kLargestLog) return false;
    bytes.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (ReadFile(file.get(), &bytes[0], size, &read, nullptr) && read == size);
}

// The folders a non-shared record must never lie in: Windows and system, long and short.
std::vector<std::string> systemFolders() {
    std::vector<std::string> folders;
    for (const std::string& folder : {windowsDirectory(), systemDirectory()}) {
        folders.push_back(folder);
        folders.push_back(shortPathOf(folder));
    }
    return folders;
}

// Folders that stay even when the uninstallation empties them: the system's own.
std::vector<std::string> keptFolders() {
    std::vector<std::string> folders = systemFolders();
    for (int id : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
                   CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PROGRAM_FILES, CSIDL_PROFILE,
                   CSIDL_APPDATA, CSIDL_PERSONAL}) {
        char path[MAX_PATH] = "";
        if (SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) folders.push_back(longPathOf(path));
    }
    return folders;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The entries of the system's list of programs whose UninstallString starts this very file: the
// one an earlier installation into this folder left is one of them, and the log of an installation
// that was stopped before its end names none (an installation writes its entry last).
std::vector<std::string> entriesStarting(const std::string& self) {
    std::vector<std::string> keys;
    std::string rootPath = kUninstallKeyPrefix;
    rootPath.pop_back();  // the trailing backslash
    const RegistryKey root = openRegistryKey(HKEY_LOCAL_MACHINE, rootPath.c_str(), KEY_READ);
    if (!root.valid()) return keys;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        const LONG listed = RegEnumKeyExA(root.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (listed == ERROR_NO_MORE_ITEMS) break;
        if (listed != ERROR_SUCCESS) continue;
        const RegistryKey key = openRegistryKey(root.get(), name, KEY_READ);
        if (!key.valid()) continue;
        char command[2 * MAX_PATH] = "";
        DWORD type = 0, size = sizeof command - 1;
        if (RegQueryValueExA(key.get(), "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(command), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ && lstrcmpiA(longPathOf(command).c_str(), self.c_str()) == 0)
            keys.push_back(std::string(kUninstallKeyPrefix) + name);
    }
    return keys;
}

// Up to kListedNames names, one per line.
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kListedNames; ++i) text += "\n" + names[i];
    if (names.size() > kListedNames) text += "\n... and " + std::to_string(names.size() - kListedNames) + " more";
    return text;
}

UninstallExitCode refuse(const std::string& logPath, const UninstallLogError& error) {
    showMessageBox(logPath + ", line " + std::to_string(error.line) + ": " + error.message +
                       ".\n\nThe uninstall log cannot be used; nothing was removed.",
                   kCaption, MB_OK | MB_ICONERROR);
    return UninstallExitCode::logUnusable;
}

UninstallExitCode uninstall() {
    const std::string self = longPathOf(ownPath());
    const std::string folder = folderOf(self);
    const std::string logPath = folder + "\\Uninstall.log";

    std::string bytes;
    if (!readWholeFile(logPath, bytes)) {
        showMessageBox("The uninstall log " + logPath + " cannot be read; nothing was removed.", kCaption,
                       MB_OK | MB_ICONERROR);
        return UninstallExitCode::logUnusable;
    }
    UninstallLogContents log;
    UninstallLogError error;
    if (!readUninstallLog(bytes, log, error) || !checkRecordsAreSafe(log, systemFolders(), error))
        return refuse(logPath, error);

    // A log without its end names no application: the installation in this folder was stopped.
    const std::string name = log.complete ? log.appName : "the unfinished installation in " + folder;
    if (showMessageBox("Remove " + name + " and all of its components?", kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return UninstallExitCode::declined;

    const UninstallPlan plan = planUninstall(log, longPathOf, self, keptFolders());
    std::vector<std::string> notRemoved;
    for (const std::string& path : plan.removals)
        if (!DeleteFileA(path.c_str()) && exists(path)) notRemoved.push_back(path);
    for (const std::string& directory : plan.directories) RemoveDirectoryA(directory.c_str());  // only when empty

    // The key of this application, never the Uninstall key itself, and every other entry that
    // would start this uninstaller once it is gone.
    std::vector<std::string> keys = entriesStarting(self);
    if (!log.appName.empty()) keys.insert(keys.begin(), log.registryKey);
    for (const std::string& keyPath : keys) {
        if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str()) == ERROR_SUCCESS) continue;
        if (openRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_READ).valid())
            notRemoved.push_back("HKEY_LOCAL_MACHINE\\" + keyPath);
    }

    const bool isNt = windowsFamily() == WindowsFamily::nt;
    // The uninstaller's folder and the parents that held only it, deepest first.
    std::vector<std::string> ownFolders;
    for (const std::string& directory : plan.directories)
        if (isSameOrBelow(folder, directory)) ownFolders.push_back(directory);
    if (removeOwnFile(self, ownFolders, isNt) == SelfRemoval::failed) notRemoved.push_back(self);
    // The log goes last: until it is gone, a second start finishes what a stopped one began.
    if (!DeleteFileA(logPath.c_str()) && exists(logPath)) notRemoved.push_back(logPath);
    for (const std::string& directory : ownFolders) RemoveDirectoryA(directory.c_str());  // only when empty

    std::string report = (log.complete ? log.appName : "The unfinished installation in " + folder) +
                         " was removed from this computer.";
    if (!plan.sharedKept.empty())
        report += "\n\nThese shared files stay, other programs may use them:" + listed(plan.sharedKept);
    if (!notRemoved.empty()) report += "\n\nThese could not be removed (in use or read-only):" + listed(notRemoved);
    showMessageBox(report, kCaption, MB_OK | (notRemoved.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    return notRemoved.empty() ? UninstallExitCode::removed : UninstallExitCode::partlyRemoved;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: a planted one in the installation's folder must never run.
    restrictLibrarySearch();
    return exitStatus(uninstall());
}
