#include "uninstall_plan.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "path_text.h"

namespace quillset {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string withoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// What two paths that name the same place have in common.
std::string pathKey(const std::string& path) { return lowered(withoutTrailingBackslash(path)); }

bool samePath(const std::string& a, const std::string& b) { return pathKey(a) == pathKey(b); }

// Adds the path's key; false when a path of the same place was added before. A log lists every
// file of the installation, tens of thousands of them: comparing each with all before it kept the
// uninstaller busy for minutes after the user's Yes, with nothing on the screen.
bool firstOfItsPlace(std::unordered_set<std::string>& seen, const std::string& path) {
    return seen.insert(pathKey(path)).second;
}

// "C:\" or "C:" or "\\server\share": nothing above it can be named.
bool isRoot(const std::string& path) {
    const std::string trimmed = withoutTrailingBackslash(path);
    if (trimmed.size() <= 3 && trimmed.size() >= 2 && trimmed[1] == ':') return true;
    if (trimmed.compare(0, 2, "\\\\") != 0) return false;
    const std::size_t server = trimmed.find('\\', 2);
    return server == std::string::npos || trimmed.find('\\', server + 1) == std::string::npos;
}

// The folder holding `path`, or "" when `path` is a root.
std::string parentOf(const std::string& path) {
    if (isRoot(path)) return "";
    std::string parent = folderOf(withoutTrailingBackslash(path));
    if (parent.size() == 2 && parent[1] == ':') parent += '\\';  // a drive's root keeps its backslash
    return parent;
}

bool hidesItsPlace(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return true;
    const std::string marked = path + "\\";
    return marked.find("\\.\\") != std::string::npos || marked.find("\\..\\") != std::string::npos;
}

// The path with its separators as Windows reads them: "/" separates as "\" does, and a run of
// separators counts as one (after the two that begin a network path). To every file call
// C:\\WINDOWS/win.ini is C:\WINDOWS\win.ini, so the checks must read it so too.
std::string withWindowsSeparators(const std::string& path) {
    std::string result;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i] == '/' ? '\\' : path[i];
        if (c == '\\' && i >= 2 && result.back() == '\\') continue;
        result += c;
    }
    return result;
}

// Paths that Windows reads as another place than they show: a device path (\\?\C:\... or
// \\.\C:\...) hides the drive path it holds from the checks, and a name that ends in a full stop
// or a blank (C:\WINDOWS.\win.ini) loses that ending on its way to the file system.
bool isReadOtherwise(const std::string& path) {
    if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0) return true;
    for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        if (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' ')) return true;
    return !path.empty() && (path.back() == '.' || path.back() == ' ');
}

bool containsPath(const std::vector<std::string>& paths, const std::string& path) {
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& each) { return samePath(each, path); });
}

}  // namespace

bool isSameOrBelow(const std::string& path, const std::string& directory) {
    const std::string base = lowered(withoutTrailingBackslash(directory));
    const std::string candidate = lowered(withoutTrailingBackslash(path));
    if (base.empty()) return false;
    if (candidate == base) return true;
    const std::string prefix = base.back() == '\\' ? base : base + "\\";
    return candidate.compare(0, prefix.size(), prefix) == 0;
}

bool checkRecordsAreSafe(const UninstallLogContents& log, const std::vector<std::string>& systemDirectories,
                         UninstallLogError& error) {
    for (const UninstallRecord& record : log.records) {
        if (record.kind == UninstallRecord::Kind::shared) continue;
        const std::string path = withWindowsSeparators(record.path);
        std::string why;
        if (isRoot(path)) why = "names a drive root";
        else if (hidesItsPlace(path)) why = "hides its place with \".\", \"..\" or wildcards";
        else if (isReadOtherwise(path)) why = "names its place in a form Windows reads otherwise";
        for (const std::string& directory : systemDirectories)
            if (why.empty() && isSameOrBelow(path, directory)) why = "lies in the system folder " + directory;
        if (!why.empty()) {
            error = {record.line, "the file " + record.path + " " + why + ", but is not marked shared"};
            return false;
        }
    }
    return true;
}

UninstallPlan planUninstall(const UninstallLogContents& log, const std::function<std::string(const std::string&)>& longForm,
                            const std::string& ownPath, const std::vector<std::string>& keptDirectories) {
    UninstallPlan plan;
    std::unordered_set<std::string> removed, kept, tried;
    for (auto record = log.records.rbegin(); record != log.records.rend(); ++record) {
        const std::string path = longForm(record->path);
        if (record->kind == UninstallRecord::Kind::shared) continue;
        if (samePath(path, ownPath)) plan.removesItself = true;
        else if (firstOfItsPlace(removed, path)) plan.removals.push_back(path);
    }
    for (const UninstallRecord& record : log.records)
        if (record.kind == UninstallRecord::Kind::shared && firstOfItsPlace(kept, record.path))
            plan.sharedKept.push_back(record.path);

    std::vector<std::string> folders = plan.removals;
    if (plan.removesItself) folders.push_back(ownPath);
    for (const std::string& path : folders) {
        // A folder met before had its parents added then: the walk up from it ends there.
        for (std::string folder = parentOf(path);
             !folder.empty() && !isRoot(folder) && !containsPath(keptDirectories, folder) && firstOfItsPlace(tried, folder);
             folder = parentOf(folder))
            plan.directories.push_back(folder);
    }
    // Deepest first, so that a folder is tried after the folders inside it.
    const auto depth = [](const std::string& path) { return std::count(path.begin(), path.end(), '\\'); };
    std::stable_sort(plan.directories.begin(), plan.directories.end(),
                     [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
    return plan;
}

}  // namespace quillset
