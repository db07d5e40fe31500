// The platform side of installing a file, through the Win32 calls: the version library's installer,
// the file system, the short path cache, the replacement at restart, self-registration and the
// join files of split files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "install_platform.h"
#include "short_path_cache.h"
#include "source_retrieval.h"
#include "version_library.h"

namespace quillset {

// The platform's version-aware installer. Tests put their own in its place to reach answers that
// the platform under test never gives.
struct VersionLibrary {
    DWORD(APIENTRY* findFile)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, PUINT, LPSTR, PUINT) = versionFindFile;
    DWORD(APIENTRY* installFile)(DWORD, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, LPSTR, PUINT) = versionInstallFile;
};

class Win32InstallPlatform : public InstallPlatform {
public:
    explicit Win32InstallPlatform(VersionLibrary versionLibrary = {}) : versionLibrary_(versionLibrary) {}
    ~Win32InstallPlatform() override { discardTemporaryCopies(); }
    Win32InstallPlatform(const Win32InstallPlatform&) = delete;
    Win32InstallPlatform& operator=(const Win32InstallPlatform&) = delete;

    std::string sourcePathOf(const std::string& path, const std::string& listedShortForm) override;
    std::string shortPathOf(const std::string& path) override;
    std::string installedPathOf(const std::string& path, const std::string& likelyShortName) override;
    SharedFileLocation findSharedFile(const std::string& sourceName, const std::string& windowsDirectory,
                                      const std::string& applicationDirectory) override;
    std::uint32_t installFile(bool force, const std::string& sourceName, const std::string& destinationName,
                              const std::string& sourceDirectory, const std::string& destinationDirectory,
                              const std::string& currentDirectory) override;
    void discardTemporaryCopies() override;
    void createDirectories(const std::string& directory) override;
    bool fileExists(const std::string& path) override;
    void deleteFile(const std::string& path) override;
    LockedFileResult replaceAtRestart(const std::string& sourceFile, const std::string& destinationFile,
                                      const std::string& sourceName) override;
    ServerRegistration registerServer(const std::string& path) override;
    SplitPartResult addPart(const InstallFileEntry& entry, const std::string& destinationPath,
                            InstallPrompt& prompt) override;
    std::string joinFileOf(const std::string& destinationPath) override;

private:
    VersionLibrary versionLibrary_;
    ShortPathCache shortPaths_;  // the short forms of sources and of installed files, asked once per folder
    SplitFileJoiner joiner_;
    std::vector<std::string> temporaryCopies_;  // every temporary copy the installer named, as full paths
};

}  // namespace quillset
