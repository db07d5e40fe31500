#include "install_file.h"

#include <windows.h>

#include <vector>

#include "conflict_dialogs.h"
#include "directories.h"
#include "handle.h"
#include "install_paths.h"
#include "install_result.h"
#include "locked_file.h"
#include "message_box.h"
#include "path_forms.h"
#include "self_registration.h"
#include "win32_install_prompt.h"

namespace quillset {

namespace {

static_assert(InstallResultBit::TempFile == VIF_TEMPFILE && InstallResultBit::SourceOld == VIF_SRCOLD &&
                  InstallResultBit::FileInUse == VIF_FILEINUSE && InstallResultBit::CannotReadSource == VIF_CANNOTREADSRC &&
                  InstallResultBit::BufferTooSmall == VIF_BUFFTOOSMALL,
              "installer result bits");

const char* const kInUse = "File is in use and setup is not able to overwrite the file.";

// The run's questions, owned by the main window; "Install all" holds for the rest of the run.
Win32InstallPrompt promptOf(SetupState& state) {
    return Win32InstallPrompt(static_cast<HINSTANCE>(state.session.instance),
                              static_cast<HWND>(state.session.mainWindow), state.run.installAll);
}

// Schedules a shared file in use for the next restart; when even that cannot be arranged, the
// user hears of it.
void replaceAtRestart(const std::string& source, const std::string& destination, const std::string& sourceName) {
    if (replaceLockedFile(source, destination, sourceName) == LockedFileResult::notScheduled)
        showMessageBox(kInUse, sourceName, MB_OK);
}

// Splits at the last backslash: the directory without it, and the name after it.
void splitPath(const std::string& path, std::string& directory, std::string& name) {
    const std::size_t backslash = path.rfind('\\');
    directory = backslash == std::string::npos ? "" : path.substr(0, backslash);
    name = backslash == std::string::npos ? path : path.substr(backslash + 1);
}

bool fileExists(const std::string& path) {
    // A file that is not there cannot be opened either; asking for its attributes costs no open
    // (under Wine a tenth of a millisecond per file of a fresh installation).
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

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
    WIN32_FIND_DATAA found;
    const FileSearch search(FindFirstFileA((directory + "\\ver*.tmp").c_str(), &found));
    if (!search.valid()) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            lstrcmpiA(found.cFileName, installedName.c_str()) != 0 &&
            lstrcmpiA(found.cAlternateFileName, installedName.c_str()) != 0 &&
            ticksOf(found.ftCreationTime) + kCreationAllowance >= callStarted)
            DeleteFileA((directory + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search.get(), &found));
}

// One call of the platform's installer with room for the name of a temporary copy, which it leaves
// in the destination directory when it cannot finish.
struct Installer {
    const VersionLibrary& library;
    ShortPathCache& shortPaths;
    std::vector<std::string> temporaryCopies;  // every temporary copy the installer named, as full paths

    DWORD install(DWORD flags, const std::string& sourceName, const std::string& destinationName,
                  const std::string& sourceDirectory, const std::string& destinationDirectory,
                  const std::string& currentDirectory) {
        char temporaryName[MAX_PATH + 1] = "";
        UINT temporaryLength = sizeof temporaryName;
        // The installer takes its texts as writable buffers; it does not change them.
        std::string source = sourceName, destination = destinationName, sourceDir = sourceDirectory,
                    destinationDir = destinationDirectory, current = currentDirectory;
        FILETIME started;
        GetSystemTimeAsFileTime(&started);
        const DWORD result = library.installFile(flags, &source[0], &destination[0], &sourceDir[0], &destinationDir[0],
                                                 &current[0], temporaryName, &temporaryLength);
        if (result == 0) return result;
        // Whatever the result, a copy it names goes at the end, and one it does not name now.
        if (temporaryName[0] != '\0')
            temporaryCopies.push_back(destinationDirectory + "\\" + fileNamePart(temporaryName));
        else
            removeUnnamedTemporaryFiles(destinationDirectory, destinationName, ticksOf(started));
        // The disk is asked for: what comes back may be another medium.
        if ((result & VIF_CANNOTREADSRC) != 0) shortPaths.forgetSources();
        return result;
    }

    // The platform leaves its temporary copy behind when a file is not installed after all; a
    // setup must not litter the destination (often the system directory) with it.
    ~Installer() {
        for (const std::string& copy : temporaryCopies) DeleteFileA(copy.c_str());
    }
};

// The shared way: where the platform recommends, with its version checks; registered when it is
// a server.
FileStep installShared(InstallContext& context, const InstallFileEntry& entry, const std::string& sourceDirectory,
                  const std::string& sourceName, const std::string& destinationName) {
    SetupState& state = context.state;
    char currentDirectory[MAX_PATH + 1] = "";
    char recommendedDirectory[MAX_PATH + 1] = "";
    UINT currentLength = sizeof currentDirectory, recommendedLength = sizeof recommendedDirectory;
    std::string name = sourceName;
    std::string winPath = state.variables["WINPATH"], applicationDirectory = state.variables["DP"];
    const DWORD found = context.versionLibrary.findFile(VFFF_ISSHAREDFILE, &name[0], &winPath[0], &applicationDirectory[0],
                                     currentDirectory, &currentLength, recommendedDirectory, &recommendedLength);
    const std::string destination = std::string(recommendedDirectory) + "\\" + destinationName;
    const std::string source = sourceDirectory + sourceName;
    if ((found & VFF_FILEINUSE) != 0) {
        replaceAtRestart(source, destination, sourceName);
        return FileStep::next;
    }

    Win32InstallPrompt prompt = promptOf(state);
    const InstallingFile file{sourceName, entry.diskNumber, source, destination};
    Installer installer{context.versionLibrary, context.shortPaths, {}};
    DWORD flags = 0;
    for (;;) {
        const DWORD result = installer.install(flags, sourceName, destinationName, sourceDirectory,
                                               recommendedDirectory, currentDirectory);
        switch (interpretInstallResult(result, file, state.run.installAll, prompt)) {
            case InstallOutcome::Stop: return FileStep::stopRun;
            case InstallOutcome::Retry: continue;
            case InstallOutcome::Skip: return FileStep::next;
            case InstallOutcome::Force: flags = VIFF_FORCEINSTALL; continue;
            case InstallOutcome::InUse:
                replaceAtRestart(source, destination, sourceName);
                return FileStep::next;
            case InstallOutcome::Installed:
                recordAndRegisterSharedFile(recommendedDirectory, destinationName,
                                            static_cast<HWND>(state.session.pageWindow), context.log);
                return FileStep::next;
        }
    }
}

// The non-shared way: exactly the entry's destination, always forced, after the user agreed to
// overwrite an existing file.
FileStep installNonShared(InstallContext& context, const InstallFileEntry& entry, const std::string& sourceDirectory,
                     const std::string& sourceName, const std::string& destinationPath,
                     const std::string& likelyShortName) {
    SetupState& state = context.state;
    std::string destination = destinationPath;
    collapseDoubleBackslashes(destination);
    std::string destinationDirectory, destinationName;
    splitPath(destination, destinationDirectory, destinationName);
    createDirectories(destinationDirectory);

    if (fileExists(destination) && !state.run.overwriteAll) {
        // A question that could not be shown overwrites, as Yes does.
        const ConflictAnswer answer = askOverwrite(static_cast<HINSTANCE>(state.session.instance),
                                                   static_cast<HWND>(state.session.pageWindow), destination);
        if (answer == ConflictAnswer::no) return FileStep::next;
        if (answer == ConflictAnswer::all) state.run.overwriteAll = state.run.installAll = true;
    }

    // The installer gets the long names: given the short name of an existing file, it replaces
    // the file by a new one that has only the short name, and the long name is lost. The log
    // records the short form of what was installed.
    Win32InstallPrompt prompt = promptOf(state);
    const InstallingFile file{sourceName, entry.diskNumber, sourceDirectory + sourceName, destination};
    // A path beyond the platform's limit is one Windows cannot create (Wine would, and the log
    // could not name it for the uninstaller): told and stopped as for any file not creatable.
    if (destination.size() >= MAX_PATH) {
        interpretInstallResult(InstallResultBit::CannotCreate, file, state.run.installAll, prompt);
        return FileStep::stopRun;
    }
    Installer installer{context.versionLibrary, context.shortPaths, {}};
    for (;;) {
        const DWORD result = installer.install(VIFF_FORCEINSTALL, sourceName, destinationName, sourceDirectory,
                                               destinationDirectory, "");
        switch (interpretInstallResult(result, file, state.run.installAll, prompt)) {
            case InstallOutcome::Stop: return FileStep::stopRun;
            case InstallOutcome::Retry: continue;
            case InstallOutcome::Skip: return FileStep::next;
            case InstallOutcome::InUse: showMessageBox(kInUse, sourceName, MB_OK); return FileStep::stopRun;
            case InstallOutcome::Installed:
            case InstallOutcome::Force: {
                std::string shortDirectory, shortName;
                splitPath(context.shortPaths.installedPathOf(destination, likelyShortName), shortDirectory, shortName);
                context.log.addFileRecord(shortDirectory, shortName, false);
                return FileStep::next;
            }
        }
    }
}

// Installs `sourceFile` (the entry's source, or the join file of a split file) as entry `index`.
FileStep installFile(InstallContext& context, const std::string& sourceFile, std::size_t index) {
    SetupState& state = context.state;
    InstallFileEntry& entry = state.files[index];
    std::string sourceDirectory, sourceName;
    // The entry's own source may come with its short name from the script's listing; a join file,
    // made in TEMP during the run, is asked for by itself.
    const std::string shortSource = sourceFile == entry.sourcePath
                                        ? context.shortPaths.sourcePathOf(sourceFile, entry.sourceShortName)
                                        : shortPathOf(sourceFile);
    splitPath(shortSource, sourceDirectory, sourceName);
    sourceDirectory += '\\';

    // A second substitution: a value that itself holds a reference is replaced once more.
    std::string destination = entry.destinationPath;
    state.variables.substituteVariables(destination);
    if (entry.shared) return installShared(context, entry, sourceDirectory, sourceName, fileNamePart(destination));
    // The source's short name is what the installed file's is likely to be.
    const std::string likelyShortName = sourceName != fileNamePart(sourceFile) ? sourceName : "";
    return installNonShared(context, entry, sourceDirectory, sourceName, destination, likelyShortName);
}

}  // namespace

FileStep installFileEntry(InstallContext& context, std::size_t index, std::string& installedPath) {
    InstallFileEntry& entry = context.state.files[index];
    context.state.variables.substituteVariables(entry.destinationPath);
    collapseDoubleBackslashes(entry.destinationPath);
    installedPath.clear();

    if (!entry.splitPart) {
        if (installFile(context, entry.sourcePath, index) == FileStep::stopRun) return FileStep::stopRun;
        installedPath = entry.destinationPath;
        return FileStep::next;
    }

    Win32InstallPrompt prompt = promptOf(context.state);
    switch (context.joiner.addPart(entry, entry.destinationPath, prompt)) {
        case SplitPartResult::appended:
        case SplitPartResult::leftOut: break;  // Ignore leaves the part out, as the user chose
        case SplitPartResult::quit:
        case SplitPartResult::failed: return FileStep::stopRun;  // the join file stays until a new joining empties it
    }
    if (!entry.lastPart) return FileStep::next;
    const std::string joinFile = context.joiner.joinFileOf(entry.destinationPath);
    if (installFile(context, joinFile, index) == FileStep::stopRun) return FileStep::stopRun;
    installedPath = entry.destinationPath;
    DeleteFileA(joinFile.c_str());
    return FileStep::next;
}

}  // namespace quillset
