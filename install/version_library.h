// The platform's version library (version.dll), from the system folder (system_library.h): the
// version-aware installer and the version resource readers, with the signatures of their ...A
// functions. Should the library be missing, finding recommends the system folder, installing
// reports a destination it cannot create and reading finds no version resource.
#pragma once

#include <windows.h>

namespace quillset {

DWORD APIENTRY versionFindFile(DWORD flags, LPSTR fileName, LPSTR windowsDirectory, LPSTR applicationDirectory,
                               LPSTR currentDirectory, PUINT currentLength, LPSTR destinationDirectory,
                               PUINT destinationLength);
DWORD APIENTRY versionInstallFile(DWORD flags, LPSTR sourceName, LPSTR destinationName, LPSTR sourceDirectory,
                                  LPSTR destinationDirectory, LPSTR currentDirectory, LPSTR temporaryName,
                                  PUINT temporaryLength);
DWORD versionInfoSize(LPCSTR file, LPDWORD handle);
BOOL versionInfo(LPCSTR file, DWORD handle, DWORD size, LPVOID block);
BOOL versionQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length);

}  // namespace quillset
