// What installing a file asks of the platform: its version-aware installer, the file system, the
// short forms of paths, the replacement of a file in use at the next restart, self-registration and
// the joining of split files. It asks the user nothing: what it finds out comes back as a value,
// and the engine (install_file.h) decides what the user is told. Setup.exe's platform is
// Win32InstallPlatform; the native tests script their own.
#pragma once

#include <cstdint>
#include <string>

#include "install_prompt.h"
#include "setup_state.h"

namespace quillset {

// Where the platform's installer puts a shared file.
struct SharedFileLocation {
    bool inUse = false;                // the copy installed there now is in use
    std::string currentDirectory;      // where a copy of the file lies now, or empty
    std::string recommendedDirectory;  // where the file is to go
};

enum class LockedFileResult {
    handled,            // scheduled, or not needed (the file in use is not older)
    copyFailed,         // the new file could not be copied into the TEMP directory
    unsupportedSystem,  // neither the NT family nor Windows 95/98/ME
    notScheduled,       // a file has no version resource, or the system refused the scheduling
};

enum class ServerRegistration {
    notLibrary,        // the file does not load as a library
    noRegisterServer,  // a library without DllRegisterServer
    registered,        // DllRegisterServer returned S_OK
    failed,            // DllRegisterServer returned any other status
};

enum class SplitPartResult {
    appended,  // the part is at the end of the join file
    leftOut,   // the user chose Ignore at the disk prompt
    quit,      // the user confirmed quitting at the disk prompt
    failed,    // reading the part or writing the join file failed; the user has been told
};

class InstallPlatform {
public:
    virtual ~InstallPlatform() = default;

    // The short form of an entry's source; `listedShortForm` is its name's short form as the
    // script's listing told it, or empty.
    virtual std::string sourcePathOf(const std::string& path, const std::string& listedShortForm) = 0;
    // The short form of another file to install (a split file's join file).
    virtual std::string shortPathOf(const std::string& path) = 0;
    // The short form of a file just installed, for the log. `likelyShortName` is a short name it
    // may well have (its source's), or empty.
    virtual std::string installedPathOf(const std::string& path, const std::string& likelyShortName) = 0;

    // Where a shared file goes, from the Windows directory and the application's directory.
    virtual SharedFileLocation findSharedFile(const std::string& sourceName, const std::string& windowsDirectory,
                                              const std::string& applicationDirectory) = 0;
    // One call of the version-aware installer; returns its result bits (InstallResultBit).
    // `force` installs over a newer or different file.
    virtual std::uint32_t installFile(bool force, const std::string& sourceName, const std::string& destinationName,
                                      const std::string& sourceDirectory, const std::string& destinationDirectory,
                                      const std::string& currentDirectory) = 0;
    // Removes the temporary copies the installer left of the file just dealt with.
    virtual void discardTemporaryCopies() = 0;

    // Makes every missing level of `directory`; a failure shows in the step that needs it.
    virtual void createDirectories(const std::string& directory) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual void deleteFile(const std::string& path) = 0;

    // Schedules `sourceFile` to replace the in-use `destinationFile` at the next restart, when it
    // is not older. `sourceName` is the file name of sourceFile.
    virtual LockedFileResult replaceAtRestart(const std::string& sourceFile, const std::string& destinationFile,
                                              const std::string& sourceName) = 0;
    // Loads the installed file `path` as a library and calls its DllRegisterServer.
    virtual ServerRegistration registerServer(const std::string& path) = 0;

    // Appends the part of `entry` to the join file of `destinationPath` (the destination as the run
    // names it); a part that cannot be opened brings the disk prompt through `prompt`.
    virtual SplitPartResult addPart(const InstallFileEntry& entry, const std::string& destinationPath,
                                    InstallPrompt& prompt) = 0;
    // The join file of the file installed as `destinationPath`.
    virtual std::string joinFileOf(const std::string& destinationPath) = 0;
};

}  // namespace quillset
