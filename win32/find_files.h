// The platform's file search: the one way product code lists the entries a pattern matches, as
// AddFile, qscheck and the installation's short names use it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "handle.h"
#include "setup_host.h"

namespace quillset {

// One search (FindFirstFileA / FindNextFileA) over the entries that match `pattern`, in the order
// the platform gives them; it is closed after the last entry and on every way out:
//     for (FileSearch search(pattern); search.found(); search.next()) use(search.name());
class FileSearch {
public:
    explicit FileSearch(const std::string& pattern);

    // Whether an entry is at hand: false when nothing matched, and after the last entry.
    bool found() const { return handle_.valid(); }
    void next();

    // The entry at hand, as the platform describes it.
    const WIN32_FIND_DATAA& entry() const { return entry_; }
    const char* name() const { return entry_.cFileName; }
    // The short (8.3) name the file system keeps for it; empty where it keeps none.
    const char* shortName() const { return entry_.cAlternateFileName; }
    bool isDirectory() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    WIN32_FIND_DATAA entry_;
    Owned<FileSearchKind> handle_;
};

// Entries matching `pattern`, in the order the search gives them, with the short names the search
// tells.
std::vector<FoundFile> findFilesWin32(const std::string& pattern);

}  // namespace quillset
