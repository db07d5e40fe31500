#include "find_files.h"

#include <windows.h>

namespace quillset {

std::vector<FoundFile> findFilesWin32(const std::string& pattern) {
    std::vector<FoundFile> found;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        found.push_back(
            FoundFile{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, data.cAlternateFileName});
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

}  // namespace quillset
