#include "uninstall_log_merge.h"

#include <unordered_set>

#include "process_names.h"

namespace quillset {

namespace {

// A set of places: an upgrade of tens of thousands of files must not compare each with all.
class Places {
public:
    bool add(const std::string& path) { return keys_.insert(lowerCaseAscii(path)).second; }
    bool contains(const std::string& path) const { return keys_.count(lowerCaseAscii(path)) != 0; }

private:
    std::unordered_set<std::string> keys_;
};

}  // namespace

EarlierLog judgeEarlierLog(const std::string& bytes, const std::string& appName) {
    EarlierLog earlier;
    UninstallLogError error;
    if (!readUninstallLog(bytes, earlier.contents, error)) {
        earlier.why = "line " + std::to_string(error.line) + ": " + error.message;
        return earlier;
    }
    if (earlier.contents.complete && lowerCaseAscii(earlier.contents.appName) != lowerCaseAscii(appName)) {
        earlier.why = "the log of " + earlier.contents.appName;
        return earlier;
    }
    earlier.use = EarlierLogUse::carry;
    return earlier;
}

std::vector<UninstallRecord> carriedRecords(const std::vector<std::vector<UninstallRecord>>& earlierLogs) {
    std::vector<UninstallRecord> carried;
    Places places;
    for (const std::vector<UninstallRecord>& records : earlierLogs)
        for (const UninstallRecord& record : records)
            if (places.add(record.path)) carried.push_back(record);
    return carried;
}

std::vector<UninstallRecord> mergedRecords(const std::vector<UninstallRecord>& carried,
                                           const std::vector<UninstallRecord>& written) {
    Places rewritten;
    for (const UninstallRecord& record : written) rewritten.add(record.path);
    std::vector<UninstallRecord> merged;
    merged.reserve(carried.size() + written.size());
    for (const UninstallRecord& record : carried)
        if (!rewritten.contains(record.path)) merged.push_back(record);
    merged.insert(merged.end(), written.begin(), written.end());
    return merged;
}

std::string keptLogName(int attempt) {
    return attempt <= 1 ? "Uninstall.log.previous" : "Uninstall.log.previous-" + std::to_string(attempt);
}

}  // namespace quillset
