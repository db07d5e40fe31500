#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cp1252.h"
#include "directory_cache.h"
#include "dry_run.h"
#include "platform.h"

// The native file system spells names in UTF-8, the dry run in code page 1252, as qscheck.exe gets
// them from the ANSI functions of a Western Windows. Names are converted where they cross: those
// the file system gives to code page 1252 (utf8ToCp1252: '?' for what it lacks), paths handed to
// the file system back to UTF-8.
namespace quillset {

NameCharacterTest platformNameCharacterTest() { return isCp1252AlphaNumeric; }

void useBinaryStandardOutput() {}

namespace {

// The entries of a directory (a UTF-8 path), their names in code page 1252.
std::vector<FoundFile> listDirectory(const std::string& directory) {
    std::vector<FoundFile> entries;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) return entries;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        // What the entry is, as the file system tells it; stat (which follows a link) otherwise.
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            isDirectory = stat((directory + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back(FoundFile{utf8ToCp1252(name), isDirectory});
    }
    closedir(listing);
    return entries;
}

}  // namespace

// One dry run per process: each directory is listed once, when a pattern first names it.
std::vector<FoundFile> findMatchingFiles(const std::string& pattern) {
    static DirectoryCache cache([](const std::string& directory) { return listDirectory(cp1252ToUtf8(directory)); });
    std::string path = pattern;
    for (char& c : path)
        if (c == '\\') c = '/';
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
    return cache.find(directory, namePattern);
}

std::string fileSystemPath(const std::string& path) {
    std::string native = cp1252ToUtf8(path);
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

std::string commandLineText(const std::string& argument) { return utf8ToCp1252(argument); }

std::string absoluteDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string result = directory;
    if (char* resolved = realpath(directory.c_str(), nullptr)) {
        result = resolved;
        free(resolved);
    } else if (patternInSetupDirectory("X", directory) != directory) {
        // A relative directory that does not exist: from the current one all the same, as
        // GetFullPathNameA takes it. (A drive path such as "F:\Medium" stays as it is.)
        char* current = getcwd(nullptr, 0);
        if (current != nullptr) result = std::string(current) + "/" + directory;
        free(current);
    }
    return utf8ToCp1252(result);
}

}  // namespace quillset
