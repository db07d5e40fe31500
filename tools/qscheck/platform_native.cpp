#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "cp1252.h"
#include "platform.h"
#include "wildcard_match.h"

namespace quillset {

NameCharacterTest platformNameCharacterTest() { return isCp1252AlphaNumeric; }

void useBinaryStandardOutput() {}

std::vector<FoundFile> findMatchingFiles(const std::string& pattern) {
    std::string path = pattern;
    for (char& c : path)
        if (c == '\\') c = '/';
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);

    std::vector<FoundFile> found;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) return found;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (!matchesWindowsWildcard(namePattern, name)) continue;
        struct stat info {};
        const bool isDirectory = stat((directory + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        found.push_back(FoundFile{name, isDirectory});
    }
    closedir(listing);
    return found;
}

std::string absoluteDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    char* resolved = realpath(directory.c_str(), nullptr);
    if (resolved == nullptr) return directory;
    std::string result = resolved;
    free(resolved);
    return result;
}

}  // namespace quillset
