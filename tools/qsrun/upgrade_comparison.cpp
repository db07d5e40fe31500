#include "upgrade_comparison.h"

#include <set>
#include <string>

#include "process_names.h"

namespace quillset::qsrun {
namespace {

// The name a file is compared by: its long form when the survey found one (logs record short
// forms), in lower case (Windows names files in any case).
std::string identity(const FileRecord& file) {
    return lowerCaseAscii(file.longPath.empty() ? file.path : file.longPath);
}

std::string shownPath(const FileRecord& file) { return file.longPath.empty() ? file.path : file.longPath; }

}  // namespace

UpgradeReport compareUpgrade(const RunReport& earlier, const std::vector<FileRecord>& earlierNow, const RunReport& later) {
    UpgradeReport upgrade;
    std::set<std::string> earlierFiles;
    for (std::size_t i = 0; i < earlier.files.size(); ++i) {
        const FileRecord& before = earlier.files[i];
        if (!earlierFiles.insert(identity(before)).second) continue;
        const FileRecord& now = i < earlierNow.size() ? earlierNow[i] : FileRecord{};
        UpgradeFile file{shownPath(before), before.version, now.exists ? now.version : ""};
        if (!now.exists) upgrade.removed.push_back(file);
        else if (now.sha256 != before.sha256) upgrade.replaced.push_back(file);
        else upgrade.kept.push_back(file);
    }
    std::set<std::string> added;
    for (const FileRecord& file : later.files)
        if (!earlierFiles.count(identity(file)) && added.insert(identity(file)).second)
            upgrade.added.push_back(UpgradeFile{shownPath(file), "", file.exists ? file.version : ""});
    return upgrade;
}

}  // namespace quillset::qsrun
