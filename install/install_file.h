// Installing one declared file through the platform's version-aware installer: the shared way
// (the directory the platform recommends, version and language checks, self-registration) and the
// non-shared way (exactly the entry's destination, overwritten only when the user agrees).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "setup_state.h"
#include "short_path_cache.h"
#include "source_retrieval.h"
#include "uninstall_log.h"
#include "version_library.h"

namespace quillset {

// The platform's version-aware installer. Tests put their own in its place to reach answers that
// the platform under test never gives (a shared file reported in use before installing).
struct VersionLibrary {
    DWORD(APIENTRY* findFile)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, PUINT, LPSTR, PUINT) = versionFindFile;
    DWORD(APIENTRY* installFile)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, PUINT) = versionInstallFile;
};

// What installing a file works with besides the entry itself.
struct InstallContext {
    SetupState& state;  // the files, DP and WINPATH, the run's flags and conflict paths, the windows
    UninstallLog& log;
    SplitFileJoiner joiner;
    VersionLibrary versionLibrary;
    ShortPathCache shortPaths;  // the short forms of sources and of installed files, asked once per folder
};

enum class FileStep {
    next,     // go on with the next file (installed, kept or skipped as the user chose)
    stopRun,  // the user or a failure stopped the run
};

// Installs entry `index` of the files. `installedPath` receives the path under which the file now
// lies (also when the user chose to keep an existing file), or nothing when there is none.
FileStep installFileEntry(InstallContext& context, std::size_t index, std::string& installedPath);

}  // namespace quillset
