#include "path_forms.h"

#include <windows.h>

#include <vector>

namespace quillset {

namespace {

// Asks `query` with a growing buffer: when the buffer is too small the call tells how much it needs.
template <typename Query>
std::string pathFrom(const std::string& path, Query query) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = query(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return path;
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

}  // namespace

std::string shortPathOf(const std::string& path) { return pathFrom(path, GetShortPathNameA); }

std::string longPathOf(const std::string& path) {
    using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto longPathName = reinterpret_cast<LongPathName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetLongPathNameA")));
    return longPathName != nullptr ? pathFrom(path, longPathName) : path;
}

}  // namespace quillset
