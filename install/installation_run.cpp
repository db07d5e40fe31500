#include "installation_run.h"

#include <windows.h>

#include "directories.h"
#include "earlier_logs.h"
#include "install_paths.h"
#include "log_file.h"
#include "path_text.h"
#include "shell_folders.h"
#include "shortcut.h"
#include "step_clock.h"
#include "uninstall_registration.h"

namespace quillset {

namespace {

bool takesPart(const InstallSection& section) { return section.selected || section.mustInstall != 0; }

}  // namespace

InstallationRun::InstallationRun(SetupState& state, InstallProgress& progress, InstallPrompt& prompt)
    : state_(state),
      progress_(progress),
      date_(todayForLog()),
      context_{state.variables, state.run, log_, platform_, prompt} {
    const StepClock clock(CopyStep::beforeFiles);
    const std::string destination = state_.variables["DP"];
    const std::string appName = state_.variables["APPNAME"];
    createDirectories(destination);
    logPath_ = joinPath(destination, "Uninstall.log");
    carried_ = startUninstallLog(log_, destination, appName, earlierInstallationFolderOf(appName), date_, prompt);

    // The section bar counts the sections chosen and those whose mustInstall is exactly 1, as it
    // always has, while a section takes part with any non-zero mustInstall: with a "2" the bar
    // reaches its end early (the bar holds at its end; nothing else depends on the count).
    std::size_t sectionCount = 0;
    for (const InstallSection& section : state_.sections) sectionCount += section.selected || section.mustInstall == 1;
    progress_.beginRun(sectionCount);
}

// A group without a drive lies in the Programs folder; the variable then holds the full path, for
// the shortcuts and for every later statement.
void InstallationRun::prepareProgramGroup() {
    std::string group = state_.variables["PROGRAMGROUP"];
    if (group.find(':') == std::string::npos) {
        const std::string programs = programsFolder();
        // Without the Programs folder the group would land wherever the bare name leads: make none.
        if (programs.empty()) {
            state_.choices.createProgramGroup = false;
            return;
        }
        group = programs + "\\" + group;
        state_.variables.set("PROGRAMGROUP", group);
    }
    createDirectories(group);
}

// Makes the shortcut of an installed file in the program group, and records it when it was saved.
void InstallationRun::makeShortcut(const InstallFileEntry& entry, const std::string& target) {
    std::string group = state_.variables["PROGRAMGROUP"];
    if (!group.empty() && group.back() == '\\') group.pop_back();
    const std::string link = group + "\\" + entry.shortcutName + ".lnk";
    if (quillset::makeShortcut(target, link, entry.shortcutName) != S_OK) return;
    log_.addShortcutRecord(link);
    // The first shortcut's program is the application's icon in the list of programs.
    if (firstShortcutTarget_.empty()) firstShortcutTarget_ = target;
}

InstallationResult InstallationRun::RunInstallation() {
    if (state_.choices.createProgramGroup) {
        const StepClock clock(CopyStep::beforeFiles);
        prepareProgramGroup();
    }

    std::size_t sectionNumber = 0;
    for (const InstallSection& section : state_.sections) {
        if (!takesPart(section)) continue;
        std::size_t fileCount = 0;
        for (const InstallFileEntry& entry : state_.files) fileCount += entry.sectionName == section.name;
        progress_.beginSection(section.name, sectionNumber++, fileCount);

        std::size_t fileNumber = 0;
        for (std::size_t index = 0; index < state_.files.size(); ++index) {
            if (state_.files[index].sectionName != section.name) continue;
            {
                const StepClock clock(CopyStep::progress);
                progress_.beginFile(fileNameOf(state_.files[index].destinationPath), fileNumber++);
            }

            const InstallFileEntry& entry = state_.files[index];
            const FileStepResult installed = [&] {
                const StepClock clock(CopyStep::file);
                return installFileEntry(context_, entry);
            }();
            if (installed.step == FileStep::stopRun) return InstallationResult::stopped;
            if (state_.choices.createProgramGroup && entry.createShortcut && !installed.installedPath.empty())
                makeShortcut(entry, installed.installedPath);
        }
    }
    return InstallationResult::completed;
}

void InstallationRun::finish() {
    {
        const StepClock clock(CopyStep::afterFiles);
        UninstallEntryRun run;
        run.firstShortcutTarget = firstShortcutTarget_;
        run.date = date_;
        // Ends the log too.
        RegisterUninstallEntry(log_, logPath_, state_.variables, run, carried_);
    }
    reportStepClock();
}

}  // namespace quillset
