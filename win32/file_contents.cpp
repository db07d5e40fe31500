#include "file_contents.h"

#include <windows.h>

#include "handle.h"

namespace quillset {

bool readFileContents(const std::string& path, std::string& bytes, std::size_t largest) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > largest) return false;
    bytes.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (ReadFile(file.get(), &bytes[0], size, &read, nullptr) && read == size);
}

}  // namespace quillset
