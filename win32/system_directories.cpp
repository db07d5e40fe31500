#include "system_directories.h"

#include <windows.h>

namespace quillset {

namespace {

// A directory from one of the Get...DirectoryA calls: when the buffer is too small the call tells
// how much it needs.
template <typename Query>
std::string directoryFrom(Query query) {
    std::string buffer(500, '\0');
    for (;;) {
        const UINT length = query(static_cast<UINT>(buffer.size()), &buffer[0]);
        if (length == 0) return "";
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length + 1);
    }
}

}  // namespace

std::string windowsDirectory() {
    return directoryFrom([](UINT size, char* buffer) { return GetWindowsDirectoryA(buffer, size); });
}

std::string systemDirectory() {
    return directoryFrom([](UINT size, char* buffer) { return GetSystemDirectoryA(buffer, size); });
}

std::string currentDirectory() {
    return directoryFrom([](UINT size, char* buffer) { return GetCurrentDirectoryA(size, buffer); });
}

}  // namespace quillset
