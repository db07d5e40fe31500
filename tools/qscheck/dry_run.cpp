#include "dry_run.h"

#include <algorithm>

#include "builtin_variables.h"
#include "wildcard_match.h"

namespace quillset {

void setBuiltinVariables(SetupState& state, const DryRunSettings& settings) {
    setSetupPaths(state, settings.setupDirectory, settings.windowsDirectory, settings.systemDirectory);
    setProgramFilesDir(state, settings.programFiles);
}

std::string patternInSetupDirectory(const std::string& setupDirectory, const std::string& pattern) {
    const bool fromRoot = !pattern.empty() && (pattern[0] == '\\' || pattern[0] == '/');
    const bool withDrive = pattern.size() >= 2 && pattern[1] == ':';
    if (fromRoot || withDrive || setupDirectory.empty()) return pattern;
    const char last = setupDirectory.back();
    return setupDirectory + (last == '\\' || last == '/' ? "" : "\\") + pattern;
}

RecordingHost::FileFinder setupDirectoryFinder(const std::string& setupDirectory, RecordingHost::FileFinder search) {
    return [setupDirectory, search](const std::string& pattern) {
        std::vector<FoundFile> found = search(patternInSetupDirectory(setupDirectory, pattern));
        std::sort(found.begin(), found.end(),
                  [](const FoundFile& a, const FoundFile& b) { return windowsNameLess(a.name, b.name); });
        return found;
    };
}

}  // namespace quillset
