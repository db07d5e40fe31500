#include "uninstall_registration.h"

#include <windows.h>

#include <map>

#include "earlier_logs.h"
#include "file_contents.h"
#include "find_files.h"
#include "handle.h"
#include "path_forms.h"
#include "path_text.h"
#include "process_names.h"

namespace quillset {

namespace {

// The bytes of the files `paths` name, with one listing per folder: under Wine a look-up per file
// costs about 1.4 ms (2,000 files: 2.9 s at the end of the copy page), the listing of a folder of
// 2,000 files 44 ms. A listing tells each file's short name too, by which the log names the
// application's files. A file that is gone counts nothing.
std::uint64_t bytesOf(const std::vector<std::string>& paths) {
    std::map<std::string, std::vector<std::string>> namesByFolder;  // folder -> lowered names
    for (const std::string& path : paths)
        if (path.find('\\') != std::string::npos) namesByFolder[folderOf(path)].push_back(lowerCaseAscii(fileNameOf(path)));
    std::uint64_t total = 0;
    for (const auto& [folder, names] : namesByFolder) {
        std::map<std::string, std::uint64_t> sizes;
        for (FileSearch search(folder + "\\*"); search.found(); search.next()) {
            if (search.isDirectory()) continue;
            const WIN32_FIND_DATAA& found = search.entry();
            const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            sizes[lowerCaseAscii(search.name())] = size;
            // Wine's short names can be shared by two files, and opened by it the first answers
            // (the log names the other by its long name): a short name keeps its first file.
            if (search.shortName()[0] != '\0') sizes.emplace(lowerCaseAscii(search.shortName()), size);
        }
        for (const std::string& name : names) {
            const auto size = sizes.find(name);
            if (size != sizes.end()) total += size->second;
        }
    }
    return total;
}

// The bytes of the files in `destination` that the log at `logPath` names; none when the log
// cannot be read.
std::optional<std::uint64_t> bytesLoggedIn(const std::string& logPath, const std::string& destination) {
    std::string bytes;
    if (!readFileContents(logPath, bytes, kLargestUninstallLog)) return std::nullopt;
    return bytesOf(pathsInDestination(loggedPaths(bytes), {destination, shortPathOf(destination)}));
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
                            UninstallEntryRun run, const std::vector<UninstallRecord>& carried) {
    log.beginRegistry();
    const std::string keyPath = uninstallKeyPath(variables["APPNAME"]);
    // The key line is in the log before the key exists (the line is written whatever the creation
    // gives): a run killed in between leaves no key that its log does not name.
    log.addRegistryKeyLine(keyPath);
    // The log is whole now; its size in the destination is read back from the file itself.
    endUninstallLog(log, variables["DP"], carried, run.date);
    run.bytesInDestination = bytesLoggedIn(logPath, variables["DP"]);
    // Without a name the key path would be the Uninstall key itself, among every program's entries.
    if (variables["APPNAME"].empty()) return false;
    const RegistryKey key = createRegistryKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_ALL_ACCESS);
    if (!key.valid()) return false;
    for (const UninstallEntryValue& value : uninstallEntryValues(variables.entries(), run)) writeValue(key.get(), value);
    return true;
}

}  // namespace quillset
