#include "path_text.h"

namespace quillset {

namespace {

// Where the file name begins: after the last backslash, or at 0 (npos + 1) when there is none.
std::size_t fileNameStart(const std::string& path) { return path.rfind('\\') + 1; }

}  // namespace

std::string fileNameOf(const std::string& path) { return path.substr(fileNameStart(path)); }

std::string folderOf(const std::string& path) {
    const std::size_t start = fileNameStart(path);
    return path.substr(0, start == 0 ? 0 : start - 1);
}

std::string folderPrefixOf(const std::string& path) { return path.substr(0, fileNameStart(path)); }

}  // namespace quillset
