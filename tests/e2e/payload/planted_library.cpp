// A library an attacker leaves beside a program under the name of one the program or the system
// uses (version.dll, setupapi.dll ...). Loading it is the fault: its entry point notes, in
// C:\qsplanted\loaded.txt, which file was loaded into which program and whether at the program's
// start (an import) or while it ran (a library loaded by name).
#include <windows.h>

namespace {

void append(HANDLE file, const char* text) {
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char library[MAX_PATH] = "", program[MAX_PATH] = "";
    GetModuleFileNameA(self, library, MAX_PATH);
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    CreateDirectoryA("C:\\qsplanted", nullptr);
    HANDLE file = CreateFileA("C:\\qsplanted\\loaded.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    append(file, library);
    // The loader passes a non-null reserved argument for the libraries a program imports.
    append(file, reserved != nullptr ? " at the start of " : " while running ");
    append(file, program);
    append(file, "\r\n");
    CloseHandle(file);
    return TRUE;
}
