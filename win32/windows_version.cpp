#include "windows_version.h"

#include <windows.h>

namespace quillset {

namespace {

WindowsFamily askSystem() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return WindowsFamily::other;
    switch (version.dwPlatformId) {
        case VER_PLATFORM_WIN32_NT: return WindowsFamily::nt;
        case VER_PLATFORM_WIN32_WINDOWS: return WindowsFamily::windows9x;
        default: return WindowsFamily::other;
    }
}

}  // namespace

WindowsFamily windowsFamily() {
    static const WindowsFamily family = askSystem();
    return family;
}

}  // namespace quillset
