#include "install_file.h"

#include <cstddef>
#include <cstdint>

#include "install_paths.h"
#include "install_result.h"
#include "path_text.h"

namespace quillset {

namespace {

const char* const kInUse = "File is in use and setup is not able to overwrite the file.";

// The platform's limit of a path, its terminating zero included (MAX_PATH).
constexpr std::size_t kMaxPath = 260;

// Schedules a shared file in use for the next restart; what could not be done, the user hears of.
void replaceAtRestart(InstallContext& context, const std::string& source, const std::string& destination,
                      const std::string& sourceName) {
    switch (context.platform.replaceAtRestart(source, destination, sourceName)) {
        case LockedFileResult::handled: break;
        case LockedFileResult::copyFailed:
            context.prompt.showMessage("Failed to copy file", "Error", Prompt::Ok, PromptOwner::none);
            break;
        case LockedFileResult::unsupportedSystem:
            context.prompt.showMessage("Unsupported operating system", "Error", Prompt::Ok, PromptOwner::none);
            break;
        case LockedFileResult::notScheduled:
            context.prompt.showMessage(kInUse, sourceName, Prompt::Ok, PromptOwner::none);
            break;
    }
}

// Records the installed shared file and offers it self-registration: a library gets
// "AUTOREGSVR" after its record when it exports DllRegisterServer (a failing status is reported,
// and setup goes on), "NOAUTOREGSVR" when it does not; a file that is no library gets no further
// line. The record comes first, so that a server whose registration never returns is in the log.
void recordAndRegister(InstallContext& context, const std::string& directory, const std::string& name) {
    const std::string path = directory + "\\" + name;
    context.log.addFileRecord(directory, name, true);
    const ServerRegistration registration = context.platform.registerServer(path);
    if (registration == ServerRegistration::notLibrary) return;
    if (registration == ServerRegistration::failed)
        context.prompt.showMessage("Registration of " + path + " failed, setup will continue.", "Server registration",
                                   Prompt::IconError, PromptOwner::page);
    context.log.addRegistrationLine(registration != ServerRegistration::noRegisterServer);
}

// The shared way: where the platform recommends, with its version checks; registered when it is
// a server.
FileStep installShared(InstallContext& context, const InstallFileEntry& entry, const std::string& sourceDirectory,
                       const std::string& sourceName, const std::string& destinationName) {
    const SharedFileLocation location =
        context.platform.findSharedFile(sourceName, context.variables["WINPATH"], context.variables["DP"]);
    const std::string destination = location.recommendedDirectory + "\\" + destinationName;
    const std::string source = sourceDirectory + sourceName;
    if (location.inUse) {
        replaceAtRestart(context, source, destination, sourceName);
        return FileStep::next;
    }

    const InstallingFile file{sourceName, entry.diskNumber, source, destination};
    bool force = false;
    for (;;) {
        const std::uint32_t result = context.platform.installFile(force, sourceName, destinationName, sourceDirectory,
                                                                  location.recommendedDirectory,
                                                                  location.currentDirectory);
        switch (interpretInstallResult(result, force, file, context.answers.installAll, context.prompt)) {
            case InstallOutcome::Stop: return FileStep::stopRun;
            case InstallOutcome::Retry: continue;
            case InstallOutcome::Skip: return FileStep::next;
            // A forced call that still reports a conflict is asked about and made again: the shared
            // way records a file only after a clean result.
            case InstallOutcome::Force:
            case InstallOutcome::InstalledAnyway: force = true; continue;
            case InstallOutcome::InUse:
                replaceAtRestart(context, source, destination, sourceName);
                return FileStep::next;
            case InstallOutcome::Installed:
                recordAndRegister(context, location.recommendedDirectory, destinationName);
                return FileStep::next;
        }
    }
}

// The non-shared way: exactly `destination`, always forced, after the user agreed to overwrite an
// existing file.
FileStep installNonShared(InstallContext& context, const InstallFileEntry& entry, const std::string& sourceDirectory,
                          const std::string& sourceName, const std::string& destination,
                          const std::string& likelyShortName) {
    const std::string destinationDirectory = folderOf(destination), destinationName = fileNameOf(destination);
    context.platform.createDirectories(destinationDirectory);

    InstallRun& answers = context.answers;
    if (context.platform.fileExists(destination) && !answers.overwriteAll) {
        // A question that could not be shown overwrites, as Yes does.
        const ConflictAnswer answer = context.prompt.askOverwrite(destination);
        if (answer == ConflictAnswer::no) return FileStep::next;
        if (answer == ConflictAnswer::all) answers.overwriteAll = answers.installAll = true;
    }

    // The installer gets the long names: given the short name of an existing file, it replaces
    // the file by a new one that has only the short name, and the long name is lost. The log
    // records the short form of what was installed.
    const InstallingFile file{sourceName, entry.diskNumber, sourceDirectory + sourceName, destination};
    // A path beyond the platform's limit is one Windows cannot create (Wine would, and the log
    // could not name it for the uninstaller): told and stopped as for any file not creatable.
    if (destination.size() >= kMaxPath) {
        interpretInstallResult(InstallResultBit::CannotCreate, true, file, answers.installAll, context.prompt);
        return FileStep::stopRun;
    }
    for (;;) {
        const std::uint32_t result = context.platform.installFile(true, sourceName, destinationName, sourceDirectory,
                                                                  destinationDirectory, "");
        switch (interpretInstallResult(result, true, file, answers.installAll, context.prompt)) {
            case InstallOutcome::Stop: return FileStep::stopRun;
            // Every call of this way is forced already (Force does not follow a forced call).
            case InstallOutcome::Force:
            case InstallOutcome::Retry: continue;
            case InstallOutcome::Skip: return FileStep::next;
            case InstallOutcome::InUse:
                context.prompt.showMessage(kInUse, sourceName, Prompt::Ok, PromptOwner::none);
                return FileStep::stopRun;
            case InstallOutcome::Installed:
            case InstallOutcome::InstalledAnyway: {
                const std::string installed = context.platform.installedPathOf(destination, likelyShortName);
                context.log.addFileRecord(folderOf(installed), fileNameOf(installed), false);
                return FileStep::next;
            }
        }
    }
}

// Installs `sourceFile` (the entry's source, or the join file of a split file) as `entry`, whose
// destination the run names `destination`.
FileStep installFile(InstallContext& context, const InstallFileEntry& entry, const std::string& sourceFile,
                     const std::string& destination) {
    // The entry's own source may come with its short name from the script's listing; a join file,
    // made in TEMP during the run, is asked for by itself.
    const std::string shortSource = sourceFile == entry.sourcePath
                                        ? context.platform.sourcePathOf(sourceFile, entry.sourceShortName)
                                        : context.platform.shortPathOf(sourceFile);
    const std::string sourceDirectory = folderOf(shortSource) + '\\', sourceName = fileNameOf(shortSource);

    // A second substitution: a value that itself holds a reference is replaced once more.
    std::string target = destination;
    context.variables.substituteVariables(target);
    FileStep step;
    if (entry.shared) {
        step = installShared(context, entry, sourceDirectory, sourceName, fileNameOf(target));
    } else {
        collapseDoubleBackslashes(target);
        // The source's short name is what the installed file's is likely to be.
        const std::string likelyShortName = sourceName != fileNameOf(sourceFile) ? sourceName : "";
        step = installNonShared(context, entry, sourceDirectory, sourceName, target, likelyShortName);
    }
    // The platform leaves its temporary copy behind when a file is not installed after all; a
    // setup must not litter the destination (often the system directory) with it.
    context.platform.discardTemporaryCopies();
    return step;
}

}  // namespace

std::string runDestinationOf(const InstallFileEntry& entry, VariableTable& variables) {
    std::string destination = entry.destinationPath;
    variables.substituteVariables(destination);
    collapseDoubleBackslashes(destination);
    return destination;
}

FileStepResult installFileEntry(InstallContext& context, const InstallFileEntry& entry) {
    const std::string destination = runDestinationOf(entry, context.variables);
    if (!entry.splitPart) {
        if (installFile(context, entry, entry.sourcePath, destination) == FileStep::stopRun) return {FileStep::stopRun, ""};
        return {FileStep::next, destination};
    }

    switch (context.platform.addPart(entry, destination, context.prompt)) {
        case SplitPartResult::appended:
        case SplitPartResult::leftOut: break;  // Ignore leaves the part out, as the user chose
        case SplitPartResult::quit:
        case SplitPartResult::failed: return {FileStep::stopRun, ""};  // the join file stays until a new joining empties it
    }
    if (!entry.lastPart) return {FileStep::next, ""};
    const std::string joinFile = context.platform.joinFileOf(destination);
    if (installFile(context, entry, joinFile, destination) == FileStep::stopRun) return {FileStep::stopRun, ""};
    context.platform.deleteFile(joinFile);
    return {FileStep::next, destination};
}

}  // namespace quillset
