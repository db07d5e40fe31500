// A program that imports only the libraries Windows always takes from its own folder (kernel32,
// user32, gdi32, advapi32, shell32, ole32, msvcrt) and does nothing. The libraries those load at
// its start are loaded before the first instruction of any program: the planted-library scenario
// measures them with this program, as the platform's part that no program can change.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

// One function of each library keeps its import.
void* const volatile kImports[] = {
    reinterpret_cast<void*>(&GetSysColor), reinterpret_cast<void*>(&GetStockObject),
    reinterpret_cast<void*>(&RegCloseKey), reinterpret_cast<void*>(&DragAcceptFiles),
    reinterpret_cast<void*>(&CoTaskMemFree),
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return kImports[0] != nullptr ? 0 : 1; }
