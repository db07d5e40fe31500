#include "short_path_cache.h"

#include <windows.h>

#include "find_files.h"
#include "path_forms.h"
#include "path_text.h"

namespace quillset {

namespace {

// Splits a full path into its folder and its last name, where the folder's short path followed by
// the name's short form is what the platform gives for the whole path; false for any other form
// (no folder, a drive alone, doubled backslashes, a '/' or wildcards in the name), which goes to
// shortPathOf itself.
bool splitFolder(const std::string& path, std::string& folder, std::string& name) {
    folder = folderOf(path);
    name = fileNameOf(path);
    return folder.size() >= 3 && folder.back() != '\\' && !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/*?") == std::string::npos;
}

std::string joined(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// Short names as file systems make them have no small letters; a name with one is not taken as a
// file's short name by its letters alone.
bool isShortNameForm(const std::string& name) {
    if (name.empty()) return false;
    for (const char c : name)
        if (c >= 'a' && c <= 'z') return false;
    return true;
}

}  // namespace

ShortPathCache::Folder* ShortPathCache::folderOf(const std::string& path) {
    const auto known = folders_.find(path);
    if (known != folders_.end()) return &known->second;
    Folder folder;
    if (!platformShortPath(path, folder.shortPath)) return nullptr;
    return &folders_.emplace(path, folder).first->second;
}

void ShortPathCache::list(Folder& folder, const std::string& path) {
    if (folder.listed) return;
    folder.listed = true;
    for (FileSearch search(joined(path, "*")); search.found(); search.next())
        folder.names.add(search.name(), search.shortName());
}

std::string ShortPathCache::sourcePathOf(const std::string& path, const std::string& listedShortForm) {
    std::string folderPath, name;
    if (!splitFolder(path, folderPath, name)) return shortPathOf(path);
    // A file that is not there has no short form (the disk is asked for with its long name).
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    Folder* folder = folderOf(folderPath);
    if (folder == nullptr) return shortPathOf(path);
    std::string form = trustListedForms_ ? listedShortForm : "";
    if (form.empty()) {
        list(*folder, folderPath);
        form = folder->names.shortFormOf(name);
    }
    if (!form.empty()) return joined(folder->shortPath, form);
    // Listed with a short name another entry shares: the long path; not listed: the platform's answer.
    return folder->names.listedShortName(name).empty() ? shortPathOf(path) : path;
}

// Under Wine a file's short name is a hash of its long name, so an installed file that kept its
// source's name has its source's short name; on Windows it often has. Asking whether that name
// opens a file in the folder costs a stat (Wine looks the short name up among the folder's names
// inside the process), where a look-up of the file costs three calls to the Wine server: 2 % of
// installing a file of 100 KiB against 11 %. A short name that no other entry of the folder
// answers to opens only the file that has it, so when it opens a file at all, that file is this
// one. Wine compares the name with each entry of the folder, so in a folder of more than about a
// thousand entries the look-up is the cheaper way.
std::string ShortPathCache::installedPathOf(const std::string& path, const std::string& likelyShortName) {
    static const std::size_t kLikelyNameFolderLimit = 1000;
    std::string folderPath, name;
    if (!splitFolder(path, folderPath, name)) return shortPathOf(path);
    Folder* folder = folderOf(folderPath);
    if (folder == nullptr) return shortPathOf(path);
    list(*folder, folderPath);
    if (isShortNameForm(likelyShortName) && lstrcmpiA(likelyShortName.c_str(), name.c_str()) != 0 &&
        folder->names.size() <= kLikelyNameFolderLimit) {
        folder->names.add(name, likelyShortName);
        const std::string shortPath = joined(folder->shortPath, likelyShortName);
        if (folder->names.shortFormOf(name) == likelyShortName &&
            GetFileAttributesA(shortPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return shortPath;
    }
    const FileSearch search(path);
    if (!search.found()) return path;
    folder->names.add(search.name(), search.shortName());
    const std::string form = folder->names.shortFormOf(search.name());
    return form.empty() ? path : joined(folder->shortPath, form);
}

void ShortPathCache::forgetSources() {
    folders_.clear();
    trustListedForms_ = false;
}

}  // namespace quillset
