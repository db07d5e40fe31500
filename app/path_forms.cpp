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

// A short form is used only when it leads back to the path. Wine derives short names from a hash of
// the long name, and in a large folder two files can share one (file-00118.dat and file-01002.dat
// are both FILE~IHD.DAT); opened by that name, the first one answers. Windows keeps short names
// unique, so there the check always passes (and a system without the long-form call is not asked).
// Otherwise the path is returned as it is, which names the right file.
std::string shortPathOf(const std::string& path) {
    const std::string shortPath = pathFrom(path, GetShortPathNameA);
    if (shortPath == path || longPathCall() == nullptr) return shortPath;
    const std::string leadsTo = pathFrom(shortPath, longPathCall());
    const bool same = lstrcmpiA(leadsTo.c_str(), path.c_str()) == 0 ||
                      lstrcmpiA(leadsTo.c_str(), pathFrom(path, longPathCall()).c_str()) == 0;
    return same ? shortPath : path;
}

std::string longPathOf(const std::string& path) {
    return longPathCall() != nullptr ? pathFrom(path, longPathCall()) : path;
}

}  // namespace quillset
