#include "self_registration.h"

#include "message_box.h"
#include "system_library.h"

namespace quillset {

namespace {

using RegisterServerFunction = HRESULT(__stdcall*)();

}  // namespace

void recordAndRegisterSharedFile(const std::string& directory, const std::string& name, HWND owner,
                                 UninstallLog& log) {
    const std::string path = directory + "\\" + name;
    // Loaded before the record is written: whether it loads decides the line after the record.
    // The installed file itself, by its full path; what it needs comes from its folder and the
    // system folder, never from the medium.
    HMODULE library = loadInstalledLibrary(path.c_str());
    log.addFileRecord(directory, name, true);
    if (library == nullptr) return;

    const auto registerServer = reinterpret_cast<RegisterServerFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
    if (registerServer != nullptr) {
        if (registerServer() != 0)  // any status but S_OK, positive ones included
            showMessageBox("Registration of " + path + " failed, setup will continue.", "Server registration",
                           MB_ICONERROR, owner);
        log.addRegistrationLine(true);
    } else {
        log.addRegistrationLine(false);
    }
    FreeLibrary(library);
}

}  // namespace quillset
