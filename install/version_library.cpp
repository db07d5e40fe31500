#include "version_library.h"

#include <cstring>
#include <string>

#include "system_directories.h"
#include "system_library.h"

namespace quillset {

namespace {

using FindFile = DWORD(APIENTRY*)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, PUINT, LPSTR, PUINT);
using InstallFile = DWORD(APIENTRY*)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, PUINT);
using InfoSize = DWORD(APIENTRY*)(LPCSTR, LPDWORD);
using Info = BOOL(APIENTRY*)(LPCSTR, DWORD, DWORD, LPVOID);
using QueryValue = BOOL(APIENTRY*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

SystemFunction<FindFile> platformFindFile("version.dll", "VerFindFileA");
SystemFunction<InstallFile> platformInstallFile("version.dll", "VerInstallFileA");
SystemFunction<InfoSize> platformInfoSize("version.dll", "GetFileVersionInfoSizeA");
SystemFunction<Info> platformInfo("version.dll", "GetFileVersionInfoA");
SystemFunction<QueryValue> platformQueryValue("version.dll", "VerQueryValueA");

// TEXT into BUFFER of *LENGTH bytes, cut to fit; *LENGTH becomes the size TEXT needs.
void copyOut(const std::string& text, LPSTR buffer, PUINT length) {
    if (buffer != nullptr && *length > 0) {
        const std::size_t size = text.size() < *length ? text.size() : *length - 1;
        std::memcpy(buffer, text.data(), size);
        buffer[size] = '\0';
    }
    *length = static_cast<UINT>(text.size() + 1);
}

}  // namespace

DWORD APIENTRY versionFindFile(DWORD flags, LPSTR fileName, LPSTR windowsDirectory, LPSTR applicationDirectory,
                               LPSTR currentDirectory, PUINT currentLength, LPSTR destinationDirectory,
                               PUINT destinationLength) {
    if (const FindFile find = platformFindFile.get())
        return find(flags, fileName, windowsDirectory, applicationDirectory, currentDirectory, currentLength,
                    destinationDirectory, destinationLength);
    copyOut("", currentDirectory, currentLength);
    copyOut(systemDirectory(), destinationDirectory, destinationLength);
    return 0;
}

DWORD APIENTRY versionInstallFile(DWORD flags, LPSTR sourceName, LPSTR destinationName, LPSTR sourceDirectory,
                                  LPSTR destinationDirectory, LPSTR currentDirectory, LPSTR temporaryName,
                                  PUINT temporaryLength) {
    if (const InstallFile install = platformInstallFile.get())
        return install(flags, sourceName, destinationName, sourceDirectory, destinationDirectory, currentDirectory,
                       temporaryName, temporaryLength);
    return VIF_CANNOTCREATE;
}

DWORD versionInfoSize(LPCSTR file, LPDWORD handle) {
    const InfoSize size = platformInfoSize.get();
    return size != nullptr ? size(file, handle) : 0;
}

BOOL versionInfo(LPCSTR file, DWORD handle, DWORD size, LPVOID block) {
    const Info info = platformInfo.get();
    return info != nullptr && info(file, handle, size, block);
}

BOOL versionQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length) {
    const QueryValue query = platformQueryValue.get();
    return query != nullptr && query(block, subBlock, value, length);
}

}  // namespace quillset
