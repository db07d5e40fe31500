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

using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// GetLongPathNameA came with Windows 98 and 2000.
LongPathName longPathCall() {
    static const auto call = reinterpret_cast<LongPathName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetLongPathNameA")));
    return call;
}

}  // namespace

// A short form is used only when it leads back to the file. Wine derives short names from a hash of
// the long name, and in a large folder two files can share one (file-00118.dat and file-01002.dat
// are both FILE~IHD.DAT); opened by that name, the first one answers. The name that the short form
// finds must be the path's own last name, or the path is returned as it is, which names the right
// file. (FindFirstFileA costs a fifth of GetLongPathNameA under Wine, which looks each folder of
// the path up again; a folder's short name is trusted, as folders of hundreds of subfolders with
// like names are rare.) Windows keeps short names unique, so there the check always passes.
std::string shortPathOf(const std::string& path) {
    if (path.size() > 3 && path.back() == '\\') return shortPathOf(path.substr(0, path.size() - 1)) + '\\';
    const std::string shortPath = pathFrom(path, GetShortPathNameA);
    if (shortPath == path) return path;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(shortPath.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return path;
    FindClose(search);
    const std::size_t nameStart = path.find_last_of('\\') + 1;  // npos + 1 == 0: the whole path
    return lstrcmpiA(found.cFileName, path.c_str() + nameStart) == 0 ? shortPath : path;
}

std::string longPathOf(const std::string& path) {
    return longPathCall() != nullptr ? pathFrom(path, longPathCall()) : path;
}

}  // namespace quillset
