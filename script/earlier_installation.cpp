#include "earlier_installation.h"

#include <cctype>

#include "command_line.h"
#include "path_text.h"
#include "process_names.h"

namespace quillset {

namespace {

// A drive path ("C:\...") or a network path ("\\server\share\..."): a folder that does not depend
// on the current directory.
bool isFullPath(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                       path[2] == '\\';
    const bool share = path.size() >= 5 && path.compare(0, 2, "\\\\") == 0 && path[2] != '\\';
    return drive || share;
}

std::string trimmedBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string withTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string folderKey(std::string folder) {
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return lowerCaseAscii(folder);
}

}  // namespace

std::string uninstallerFolder(const std::string& uninstallString) {
    const std::string command = trimmedBlanks(uninstallString);
    // A quote that never closes is a damaged value, not a folder.
    if (!command.empty() && command[0] == '"' && command.find('"', 1) == std::string::npos) return "";
    const std::string program = splitProgramCommand(command).program;
    if (!isFullPath(program)) return "";
    return folderPrefixOf(program);
}

std::string earlierInstallationFolder(const UninstallEntry& entry,
                                      const std::function<bool(const std::string& logPath)>& holdsLog) {
    if (!entry.exists) return "";
    for (const std::string& folder : {trimmedBlanks(entry.installLocation), uninstallerFolder(entry.uninstallString)}) {
        if (!isFullPath(folder)) continue;
        const std::string candidate = withTrailingBackslash(folder);
        if (holdsLog(candidate + "Uninstall.log")) return candidate;
    }
    return "";
}

bool sameFolder(const std::string& a, const std::string& b) { return folderKey(a) == folderKey(b); }

}  // namespace quillset
