// probe — what the end-to-end checks ask of Windows itself:
//   probe shortcut LINK     the shortcut's target path and description, one per line
//   probe short-path PATH   the short (8.3) form of an existing path
//   probe long-path PATH    the long form of an existing path (exit 1: there is none)
//   probe hold PATH READY   keeps PATH in use until ended (a .dll or .ocx loaded, any other
//                           file open without sharing), after creating the file READY
// Exit status 1 when the answer cannot be had.
#include <windows.h>

#include <cstdio>
#include <string>

#include "../../win/win_test_files.h"

namespace {

int printShortcut(const std::string& path) {
    CoInitialize(nullptr);
    std::string target, description;
    const bool read = quillset::readShortcut(path, target, description);
    if (read) std::printf("%s\n%s\n", target.c_str(), description.c_str());
    CoUninitialize();
    return read ? 0 : 1;
}

// Prints the form of an existing path that `query` gives (GetShortPathNameA or GetLongPathNameA).
int printPathForm(DWORD(WINAPI* query)(LPCSTR, LPSTR, DWORD), const std::string& path) {
    char form[MAX_PATH] = "";
    const DWORD length = query(path.c_str(), form, sizeof form);
    if (length == 0 || length >= sizeof form) return 1;
    std::printf("%s\n", form);
    return 0;
}

int hold(const std::string& path, const std::string& ready) {
    const char* extension = path.size() > 4 ? path.c_str() + path.size() - 4 : "";
    const bool library = lstrcmpiA(extension, ".dll") == 0 || lstrcmpiA(extension, ".ocx") == 0;
    const bool held = library ? LoadLibraryA(path.c_str()) != nullptr
                              : CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) !=
                                    INVALID_HANDLE_VALUE;
    if (!held) {
        // The scenario's runner passes this on: a load that fails now and then must say why.
        std::fprintf(stderr, "probe: %s cannot be %s (error %lu)\n", path.c_str(), library ? "loaded" : "opened",
                     GetLastError());
        return 1;
    }
    CloseHandle(CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(INFINITE);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 64;
    const std::string verb = argv[1];
    if (verb == "hold" && argc == 4) return hold(argv[2], argv[3]);
    if (verb == "shortcut") return printShortcut(argv[2]);
    if (verb == "short-path") return printPathForm(GetShortPathNameA, argv[2]);
    if (verb == "long-path") return printPathForm(GetLongPathNameA, argv[2]);
    return 64;
}
