#include "find_files.h"

namespace quillset {

FileSearch::FileSearch(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &entry_)) {}

void FileSearch::next() {
    if (found() && !FindNextFileA(handle_.get(), &entry_)) handle_.reset();
}

std::vector<FoundFile> findFilesWin32(const std::string& pattern) {
    std::vector<FoundFile> found;
    for (FileSearch search(pattern); search.found(); search.next())
        found.push_back(FoundFile{search.name(), search.isDirectory(), search.shortName()});
    return found;
}

}  // namespace quillset
