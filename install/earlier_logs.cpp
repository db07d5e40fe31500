#include "earlier_logs.h"

#include <windows.h>

#include "earlier_installation.h"
#include "file_contents.h"
#include "install_paths.h"
#include "log_file.h"
#include "path_forms.h"
#include "read_uninstall_entry.h"
#include "uninstall_log_merge.h"

namespace quillset {

namespace {

enum class LogFile { absent, read, unreadable };

// A folder of the log's name is no log: nothing to carry or keep aside (and no log can be made).
LogFile readLogFile(const std::string& path, std::string& bytes) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return LogFile::absent;
    return readFileContents(path, bytes, kLargestUninstallLog) ? LogFile::read : LogFile::unreadable;
}

// `from` takes the place of `to` in one step where the system can (a rename over the old file on
// the NT family). Windows 95/98 have no such call: the old file goes first, and for that moment
// only `from` holds the log.
bool replaceLogFile(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    return DeleteFileA(to.c_str()) && MoveFileA(from.c_str(), to.c_str());
}

// Writes a whole log to `path` (made anew) and hands it to the disk: the header of `date`,
// "[FILES]", the records and, when `keyLine` is given, "[REGISTRY]" and the key line.
bool writeLogFile(const std::string& path, const LogDate& date, const std::vector<UninstallRecord>& records,
                  const std::string& keyLine) {
    UninstallLog log;
    log.open(createLogFile(path));
    log.writeHeader(date);
    log.beginFiles();
    for (const UninstallRecord& record : records) log.addRecord(record);
    if (!keyLine.empty()) {
        log.beginRegistry();
        log.addRegistryKeyLine(keyLine);
    }
    const bool whole = log.close();
    if (!whole) DeleteFileA(path.c_str());
    return whole;
}

// Moves a log that is not carried aside under the first free kept name; MoveFileA never replaces a
// file, so an earlier kept log stays as it is.
bool keepAside(const std::string& destination, const std::string& logPath) {
    for (int attempt = 1; attempt <= kKeptLogNames; ++attempt)
        if (MoveFileA(logPath.c_str(), joinPath(destination, keptLogName(attempt)).c_str())) return true;
    return false;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string earlierInstallationFolderOf(const std::string& appName) {
    return earlierInstallationFolder(readUninstallEntryWin32(appName), fileExists);
}

std::vector<UninstallRecord> startUninstallLog(UninstallLog& log, const std::string& destination,
                                               const std::string& appName, const std::string& earlierFolder,
                                               const LogDate& date, InstallPrompt& prompt) {
    const std::string logPath = joinPath(destination, "Uninstall.log");
    std::vector<std::vector<UninstallRecord>> earlier;
    std::string bytes;
    const LogFile here = readLogFile(logPath, bytes);
    if (here != LogFile::absent) {
        const EarlierLog judged = here == LogFile::read ? judgeEarlierLog(bytes, appName) : EarlierLog{};
        if (judged.use == EarlierLogUse::carry) earlier.push_back(judged.contents.records);
        else if (!keepAside(destination, logPath)) {
            logNotCreated(log, prompt);
            return {};
        }
    }
    // The entry this run writes replaces the one that names the other folder: its log's records,
    // and the log itself, are this log's from now on.
    if (!earlierFolder.empty() && !sameFolder(longPathOf(earlierFolder), longPathOf(destination))) {
        const std::string otherLog = joinPath(earlierFolder, "Uninstall.log");
        if (readLogFile(otherLog, bytes) == LogFile::read) {
            const EarlierLog judged = judgeEarlierLog(bytes, appName);
            if (judged.use == EarlierLogUse::carry) {
                UninstallRecord itself;
                itself.path = shortPathOf(otherLog);
                earlier.push_back({itself});
                earlier.push_back(judged.contents.records);
            }
        }
    }

    const std::vector<UninstallRecord> carried = carriedRecords(earlier);
    if (carried.empty()) {
        openUninstallLog(log, logPath, prompt);
        log.writeHeader(date);
        log.beginFiles();
        return carried;
    }
    const std::string next = logPath + ".new";
    std::unique_ptr<ByteSink> sink;
    if (!writeLogFile(next, date, carried, "") || !replaceLogFile(next, logPath) ||
        (sink = openLogFileForAdding(logPath)) == nullptr) {
        DeleteFileA(next.c_str());
        logNotCreated(log, prompt);
        return {};
    }
    log.open(std::move(sink));
    return carried;
}

void endUninstallLog(UninstallLog& log, const std::string& destination, const std::vector<UninstallRecord>& carried,
                     const LogDate& date) {
    const bool whole = log.close();
    if (carried.empty() || !whole) return;
    const std::string logPath = joinPath(destination, "Uninstall.log");
    std::string bytes;
    UninstallLogContents contents;
    UninstallLogError error;
    if (readLogFile(logPath, bytes) != LogFile::read || !readUninstallLog(bytes, contents, error) ||
        !contents.complete || contents.records.size() < carried.size())
        return;
    const std::vector<UninstallRecord> written(contents.records.begin() + static_cast<std::ptrdiff_t>(carried.size()),
                                               contents.records.end());
    const std::vector<UninstallRecord> merged = mergedRecords(carried, written);
    // Nothing carried was written again: the log is finished as it stands.
    if (merged.size() == contents.records.size()) return;
    const std::string next = logPath + ".new";
    if (!writeLogFile(next, date, merged, contents.registryKey) || !replaceLogFile(next, logPath))
        DeleteFileA(next.c_str());
}

}  // namespace quillset
