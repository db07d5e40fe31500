// Shared libraries for the installation tests, one source for three builds: a server whose
// registration succeeds (it leaves a registry value as proof it ran), one whose registration
// fails, and a plain library that is no server.
#include <windows.h>

extern "C" __declspec(dllexport) int QuillsetTestLibrary() { return 1; }

#if defined(SERVER_SUCCEEDS) || defined(SERVER_FAILS)
extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
#ifdef SERVER_SUCCEEDS
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Quillset\\E2E", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const char value[] = "registered";
    RegSetValueExA(key, "server_ok", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
    return S_OK;
#else
    return 1;  // a failure status that is not negative
#endif
}
#endif
