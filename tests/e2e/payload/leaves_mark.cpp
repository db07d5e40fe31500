// A program planted where Windows would find it by mistake (C:\qse2e\My.exe for an unquoted
// "C:\qse2e\My App\QSUninstall.exe"): when started, it leaves a file named after itself with
// ".ran" added, and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 8] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatA(path, ".ran");
    const HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(mark);
    return 0;
}
