// QSUninstall.exe: removes an installation by its Uninstall.log, which lies next to it in the
// installation directory. It asks once, then removes, in reverse log order, the shortcuts and the
// files that were not shared, the folders that became empty through that, the Uninstall key,
// itself (at the next restart where the system keeps a running program's file) and, last, the
// log. Shared files stay: other programs may use them. A file in use goes at the next restart.
// What cannot be removed is named at the end, never dropped silently. With /S (the entry's
// QuietUninstallString) it does the same without asking and without any window, for deployment
// tools; the exit codes (uninstall_exit_codes.h) tell them what happened.
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

#include "command_line.h"
#include "file_contents.h"
#include "handle.h"
#include "message_box.h"
#include "path_forms.h"
#include "path_text.h"
#include "self_removal.h"
#include "system_directories.h"
#include "system_library.h"
#include "uninstall_arguments.h"
#include "uninstall_exit_codes.h"
#include "uninstall_log_reader.h"
#include "uninstall_plan.h"
#include "windows_version.h"

using namespace quillset;

namespace {

const char* const kCaption = "Uninstall";
constexpr std::size_t kListedNames = 15;        // names per list in the closing report

std::string ownPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
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
// that was stopped before its end names none (an installation writes its entry last). The command
// is quoted since entries name the uninstaller so; earlier versions wrote the bare path.
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
            type == REG_SZ && lstrcmpiA(longPathOf(splitProgramCommand(command).program).c_str(), self.c_str()) == 0)
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

// What the user sees: message boxes, or nothing at all in the quiet run, which answers the
// question with Yes.
class Screen {
public:
    explicit Screen(bool quiet) : quiet_(quiet) {}
    int show(const std::string& text, UINT style) const {
        if (quiet_) return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
        return showMessageBox(text, kCaption, style);
    }

private:
    bool quiet_;
};

// A file the system refused to delete because a program holds it (a running program, a loaded
// library, a file open without sharing); a read-only one is the user's decision and stays.
bool heldByAProgram(const std::string& path, DWORD error) {
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool notFound(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

UninstallExitCode refuse(const Screen& screen, const std::string& logPath, const UninstallLogError& error) {
    screen.show(logPath + ", line " + std::to_string(error.line) + ": " + error.message +
                    ".\n\nThe uninstall log cannot be used; nothing was removed.",
                MB_OK | MB_ICONERROR);
    return UninstallExitCode::logUnusable;
}

UninstallExitCode uninstall(const Screen& screen) {
    const std::string self = longPathOf(ownPath());
    const std::string folder = folderOf(self);
    const std::string logPath = folder + "\\Uninstall.log";

    std::string bytes;
    if (!readFileContents(logPath, bytes, kLargestUninstallLog)) {
        const bool missing = GetFileAttributesA(logPath.c_str()) == INVALID_FILE_ATTRIBUTES && notFound(GetLastError());
        screen.show("The uninstall log " + logPath + " cannot be read; nothing was removed.", MB_OK | MB_ICONERROR);
        return missing ? UninstallExitCode::nothingToRemove : UninstallExitCode::logUnusable;
    }
    UninstallLogContents log;
    UninstallLogError error;
    if (!readUninstallLog(bytes, log, error) || !checkRecordsAreSafe(log, systemFolders(), error))
        return refuse(screen, logPath, error);

    // A log without its end names no application: the installation in this folder was stopped.
    const std::string name = log.complete ? log.appName : "the unfinished installation in " + folder;
    if (screen.show("Remove " + name + " and all of its components?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return UninstallExitCode::declined;

    const bool isNt = windowsFamily() == WindowsFamily::nt;
    const UninstallPlan plan = planUninstall(log, longPathOf, self, keptFolders());
    std::vector<std::string> notRemoved, atRestart;
    for (const std::string& path : plan.removals) {
        if (DeleteFileA(path.c_str())) continue;
        const DWORD deleteError = GetLastError();
        if (!exists(path)) continue;
        if (heldByAProgram(path, deleteError) && deleteAtRestart(path, isNt)) atRestart.push_back(path);
        else notRemoved.push_back(path);
    }
    std::vector<std::string> foldersAtRestart;  // deepest first, as the plan has them
    for (const std::string& directory : plan.directories) {
        if (RemoveDirectoryA(directory.c_str()) || !exists(directory)) continue;  // only when empty
        for (const std::string& path : atRestart)
            if (isSameOrBelow(path, directory)) {
                foldersAtRestart.push_back(directory);
                break;
            }
    }
    // The folders that held a file in use, once it is gone.
    removeFoldersAtRestart(foldersAtRestart, isNt);

    // The key of this application, never the Uninstall key itself, and every other entry that
    // would start this uninstaller once it is gone.
    std::vector<std::string> keys = entriesStarting(self);
    if (!log.appName.empty()) keys.insert(keys.begin(), log.registryKey);
    for (const std::string& keyPath : keys) {
        if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str()) == ERROR_SUCCESS) continue;
        if (openRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_READ).valid())
            notRemoved.push_back("HKEY_LOCAL_MACHINE\\" + keyPath);
    }

    // The uninstaller's folder and the parents that held only it, deepest first.
    std::vector<std::string> ownFolders;
    for (const std::string& directory : plan.directories)
        if (isSameOrBelow(folder, directory)) ownFolders.push_back(directory);
    // The uninstaller's own file waiting for the restart asks for none: nothing of the application
    // is left in use, and on Windows it would be so after every run.
    if (removeOwnFile(self, ownFolders, isNt) == SelfRemoval::failed) notRemoved.push_back(self);
    // The log goes last: until it is gone, a second start finishes what a stopped one began.
    if (!DeleteFileA(logPath.c_str()) && exists(logPath)) notRemoved.push_back(logPath);
    for (const std::string& directory : ownFolders) RemoveDirectoryA(directory.c_str());  // only when empty

    std::string report = (log.complete ? log.appName : "The unfinished installation in " + folder) +
                         " was removed from this computer.";
    if (!plan.sharedKept.empty())
        report += "\n\nThese shared files stay, other programs may use them:" + listed(plan.sharedKept);
    if (!atRestart.empty()) report += "\n\nThese are in use and go when Windows restarts:" + listed(atRestart);
    if (!notRemoved.empty()) report += "\n\nThese could not be removed (in use or read-only):" + listed(notRemoved);
    screen.show(report, MB_OK | (notRemoved.empty() && atRestart.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
    if (!notRemoved.empty()) return UninstallExitCode::partlyRemoved;
    return atRestart.empty() ? UninstallExitCode::removed : UninstallExitCode::restartNeeded;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: a planted one in the installation's folder must never run.
    restrictLibrarySearch();
    const UninstallArguments arguments = parseUninstallArguments(GetCommandLineA());
    switch (arguments.mode) {
        case UninstallMode::usage:
            showMessageBox(uninstallUsage(arguments), kCaption, MB_OK | MB_ICONINFORMATION);
            return 0;  // asked for, and shown
        case UninstallMode::wrongUsage:
            // A windows program has no console to print to: the usage comes in a box.
            showMessageBox(uninstallUsage(arguments), kCaption, MB_OK | MB_ICONERROR);
            return exitStatus(UninstallExitCode::wrongUsage);
        case UninstallMode::quiet:
            return exitStatus(uninstall(Screen(true)));
        case UninstallMode::interactive:
            break;
    }
    return exitStatus(uninstall(Screen(false)));
}
