#include "path_forms.h"

#include <windows.h>

#include <vector>

#include "find_files.h"
#include "path_text.h"
#include "system_library.h"

namespace quillset {

namespace {

// Asks `query` with a growing buffer: when the buffer is too small the call tells how much it needs.
// False when the platform gives no such form.
template <typename Query>
bool askPath(const std::string& path, Query query, std::string& answer) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = query(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return false;
        if (length < buffer.size()) {
            answer.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(length + 1);
    }
}

template <typename Query>
std::string pathFrom(const std::string& path, Query query) {
    std::string answer;
    return askPath(path, query, answer) ? answer : path;
}

using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);

// GetLongPathNameA came with Windows 98 and 2000.
LongPathName longPathCall() {
    static const auto call = kernelFunction<LongPathName>("GetLongPathNameA");
    return call;
}

}  // namespace

bool platformShortPath(const std::string& path, std::string& shortPath) {
    return askPath(path, GetShortPathNameA, shortPath);
}

// Opened by a short name, Wine takes the first entry in the folder's own order that answers to it,
// and a search for the name gives one entry, in another order. A search with a wildcard after the
// short name lists every entry that answers to it (by its name or its short name) among others:
// exactly one may answer, the one named. Like a search for the name itself it costs a reading of
// the folder under Wine, a fifth of what GetLongPathNameA costs (it looks each folder of the path
// up again).
bool shortFormLeadsTo(const std::string& shortPath, const char* name) {
    const std::string shortName = fileNameOf(shortPath);
    int answering = 0;
    bool named = false;
    for (FileSearch search(shortPath + "*"); search.found(); search.next()) {
        if (lstrcmpiA(search.name(), shortName.c_str()) != 0 && lstrcmpiA(search.shortName(), shortName.c_str()) != 0)
            continue;
        ++answering;
        named = named || lstrcmpiA(search.name(), name) == 0;
    }
    return answering == 1 && named;
}

// A folder's short name is trusted, as folders of hundreds of subfolders with like names are rare.
std::string shortPathOf(const std::string& path) {
    if (path.size() > 3 && path.back() == '\\') return shortPathOf(path.substr(0, path.size() - 1)) + '\\';
    std::string shortPath;
    if (!platformShortPath(path, shortPath) || shortPath == path) return path;
    return shortFormLeadsTo(shortPath, fileNameOf(path).c_str()) ? shortPath : path;
}

std::string longPathOf(const std::string& path) {
    return longPathCall() != nullptr ? pathFrom(path, longPathCall()) : path;
}

}  // namespace quillset
