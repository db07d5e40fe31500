#include "win32_install_platform.h"

#include "directories.h"
#include "find_files.h"
#include "handle.h"
#include "install_result.h"
#include "locked_file.h"
#include "path_forms.h"
#include "path_text.h"
#include "self_registration.h"
#include "step_clock.h"

namespace quillset {

namespace {

static_assert(InstallResultBit::TempFile == VIF_TEMPFILE && InstallResultBit::SourceOld == VIF_SRCOLD &&
                  InstallResultBit::FileInUse == VIF_FILEINUSE && InstallResultBit::CannotReadSource == VIF_CANNOTREADSRC &&
                  InstallResultBit::BufferTooSmall == VIF_BUFFTOOSMALL,
              "installer result bits");

// The platform's installer copies a file to a temporary file in the destination directory
// (GetTempFileNameA with the prefix "ver": ver73db.tmp) and then renames it. It names that file
// in its buffer with VIF_TEMPFILE; when the copy itself fails (a full disk: VIF_OUTOFSPACE, a
// source it cannot read to the end) Wine's returns without naming it or removing it. What is left
// is then found by its name and its age: a "ver*.tmp" of the destination directory made since the
// call began. The allowance covers file systems whose times are coarser than the clock (FAT keeps
// creation times in steps of 10 ms, a share keeps its own clock).
constexpr ULONGLONG kCreationAllowance = 2ull * 10000000;  // two seconds, in 100 ns steps

ULONGLONG ticksOf(const FILETIME& time) { return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

// The file being installed is never one of them, whatever its name.
void removeUnnamedTemporaryFiles(const std::string& directory, const std::string& installedName,
                                 ULONGLONG callStarted) {
    for (FileSearch search(directory + "\\ver*.tmp"); search.found(); search.next()) {
        if (!search.isDirectory() && lstrcmpiA(search.name(), installedName.c_str()) != 0 &&
            lstrcmpiA(search.shortName(), installedName.c_str()) != 0 &&
            ticksOf(search.entry().ftCreationTime) + kCreationAllowance >= callStarted)
            DeleteFileA((directory + "\\" + search.name()).c_str());
    }
}

}  // namespace

std::string Win32InstallPlatform::sourcePathOf(const std::string& path, const std::string& listedShortForm) {
    const StepClock clock(CopyStep::sourceShortPath);
    return shortPaths_.sourcePathOf(path, listedShortForm);
}

std::string Win32InstallPlatform::shortPathOf(const std::string& path) { return quillset::shortPathOf(path); }

std::string Win32InstallPlatform::installedPathOf(const std::string& path, const std::string& likelyShortName) {
    const StepClock clock(CopyStep::installedShortPath);
    return shortPaths_.installedPathOf(path, likelyShortName);
}

SharedFileLocation Win32InstallPlatform::findSharedFile(const std::string& sourceName,
                                                        const std::string& windowsDirectory,
                                                        const std::string& applicationDirectory) {
    char currentDirectory[MAX_PATH + 1] = "";
    char recommendedDirectory[MAX_PATH + 1] = "";
    UINT currentLength = sizeof currentDirectory, recommendedLength = sizeof recommendedDirectory;
    // The version library takes its texts as writable buffers; it does not change them.
    std::string name = sourceName, windows = windowsDirectory, application = applicationDirectory;
    const DWORD found = versionLibrary_.findFile(VFFF_ISSHAREDFILE, &name[0], &windows[0], &application[0],
                                                 currentDirectory, &currentLength, recommendedDirectory,
                                                 &recommendedLength);
    return {(found & VFF_FILEINUSE) != 0, currentDirectory, recommendedDirectory};
}

// One call of the platform's installer with room for the name of a temporary copy, which it leaves
// in the destination directory when it cannot finish.
std::uint32_t Win32InstallPlatform::installFile(bool force, const std::string& sourceName,
                                                const std::string& destinationName,
                                                const std::string& sourceDirectory,
                                                const std::string& destinationDirectory,
                                                const std::string& currentDirectory) {
    const StepClock clock(CopyStep::installer);
    char temporaryName[MAX_PATH + 1] = "";
    UINT temporaryLength = sizeof temporaryName;
    // The installer takes its texts as writable buffers; it does not change them.
    std::string source = sourceName, destination = destinationName, sourceDir = sourceDirectory,
                destinationDir = destinationDirectory, current = currentDirectory;
    FILETIME started;
    GetSystemTimeAsFileTime(&started);
    const DWORD result =
        versionLibrary_.installFile(force ? VIFF_FORCEINSTALL : 0, &source[0], &destination[0], &sourceDir[0],
                                    &destinationDir[0], &current[0], temporaryName, &temporaryLength);
    if (result == 0) return result;
    // Whatever the result, a copy it names goes once the file is dealt with, and one it does not
    // name now.
    if (temporaryName[0] != '\0')
        temporaryCopies_.push_back(destinationDirectory + "\\" + fileNameOf(temporaryName));
    else
        removeUnnamedTemporaryFiles(destinationDirectory, destinationName, ticksOf(started));
    // The disk is asked for: what comes back may be another medium.
    if ((result & VIF_CANNOTREADSRC) != 0) shortPaths_.forgetSources();
    return result;
}

void Win32InstallPlatform::discardTemporaryCopies() {
    const StepClock clock(CopyStep::temporaryCopies);
    for (const std::string& copy : temporaryCopies_) DeleteFileA(copy.c_str());
    temporaryCopies_.clear();
}

void Win32InstallPlatform::createDirectories(const std::string& directory) {
    const StepClock clock(CopyStep::directories);
    quillset::createDirectories(directory);
}

bool Win32InstallPlatform::fileExists(const std::string& path) {
    const StepClock clock(CopyStep::destinationLookedAt);
    // A file that is not there cannot be opened either; asking for its attributes costs no open
    // (under Wine a tenth of a millisecond per file of a fresh installation).
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
}

void Win32InstallPlatform::deleteFile(const std::string& path) { DeleteFileA(path.c_str()); }

LockedFileResult Win32InstallPlatform::replaceAtRestart(const std::string& sourceFile,
                                                        const std::string& destinationFile,
                                                        const std::string& sourceName) {
    return replaceLockedFile(sourceFile, destinationFile, sourceName);
}

ServerRegistration Win32InstallPlatform::registerServer(const std::string& path) {
    return registerInstalledServer(path);
}

SplitPartResult Win32InstallPlatform::addPart(const InstallFileEntry& entry, const std::string& destinationPath,
                                              InstallPrompt& prompt) {
    return joiner_.addPart(entry, destinationPath, prompt);
}

std::string Win32InstallPlatform::joinFileOf(const std::string& destinationPath) {
    return joiner_.joinFileOf(destinationPath);
}

}  // namespace quillset
