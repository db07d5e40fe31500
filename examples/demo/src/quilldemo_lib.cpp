// quilldemo.dll: the demo's shared library. It carries a version resource (so the installer can
// compare versions) and registers itself (DllRegisterServer writes the key below), the way a
// shared component on a real medium does.
#include <windows.h>

namespace {
const char* const kRegistrationKey = "Software\\Quillset\\Demo Library";
}

extern "C" __declspec(dllexport) const char* QuillDemoGreeting() {
    return "Hello from the Quillset demo library!";
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRegistrationKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return E_FAIL;
    const char version[] = "1.2.0.0";
    const LONG result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof version);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRegistrationKey) == ERROR_SUCCESS ? S_OK : E_FAIL;
}
