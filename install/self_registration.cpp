#include "self_registration.h"

#include <windows.h>

#include "handle.h"
#include "system_library.h"

namespace quillset {

namespace {

using RegisterServerFunction = HRESULT(__stdcall*)();

}  // namespace

ServerRegistration registerInstalledServer(const std::string& path) {
    const Library library(loadInstalledLibrary(path.c_str()));
    if (!library.valid()) return ServerRegistration::notLibrary;
    const auto registerServer = reinterpret_cast<RegisterServerFunction>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "DllRegisterServer")));
    if (registerServer == nullptr) return ServerRegistration::noRegisterServer;
    // Any status but S_OK fails, positive ones included.
    return registerServer() == 0 ? ServerRegistration::registered : ServerRegistration::failed;
}

}  // namespace quillset
