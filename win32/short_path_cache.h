// The short forms of the paths an installation names, asked of the platform once per folder
// instead of once per file: what shortPathOf gives, path for path.
#pragma once

#include <string>
#include <unordered_map>

#include "folder_short_names.h"

namespace quillset {

// Under Wine, GetShortPathNameA looks up every folder of a path (about 1 ms a path), and the check
// that the short form leads back to its file reads the whole folder. Here each folder's short path
// is asked once, and each file's short name comes from a listing of its folder: the script's
// listing of the source folder, or one listing made here, to which each installed file is added.
// A short name that another entry of the folder shares is not used: opened by it, either file may
// answer (shortPathOf's check refuses it too).
class ShortPathCache {
public:
    // The short form of a source file. `listedShortForm` is its name's short form as the listing
    // of the script told it, or empty.
    std::string sourcePathOf(const std::string& path, const std::string& listedShortForm);

    // The short form of a file just installed (for the log). `likelyShortName` is a short name it
    // may well have (its source's, where it kept the source's name), or empty.
    std::string installedPathOf(const std::string& path, const std::string& likelyShortName);

    // A disk was asked for: the medium may have changed, so what was learnt of source folders,
    // and the script's listing, is no longer trusted.
    void forgetSources();

private:
    struct Folder {
        std::string shortPath;  // the platform's short form of the folder
        bool listed = false;
        FolderShortNames names;
    };

    // The folder with its short path, asked once; nullptr while the platform gives none (a folder
    // not made yet, a disk not there), and then it is asked again next time.
    Folder* folderOf(const std::string& path);
    void list(Folder& folder, const std::string& path);

    std::unordered_map<std::string, Folder> folders_;  // by the folder's path as named
    bool trustListedForms_ = true;
};

}  // namespace quillset
