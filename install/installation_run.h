// The installation run behind the copy page: the program group, every file of every section that
// takes part (with its shortcut), Uninstall.log and the Uninstall entry. It shows nothing itself:
// it tells an InstallProgress where it is, and the page draws that; it asks the user through the
// page's InstallPrompt.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "install_file.h"
#include "install_prompt.h"
#include "setup_state.h"
#include "uninstall_log.h"
#include "uninstall_log_reader.h"
#include "win32_install_platform.h"

namespace quillset {

// What the run tells its page. Calls come in run order: beginRun once, then for each section that
// takes part beginSection and a beginFile for each of its files.
class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    // The run begins; `sectionCount` is the section bar's length.
    virtual void beginRun(std::size_t sectionCount) = 0;
    // Section number `sectionNumber` (from 0) begins; it has `fileCount` files.
    virtual void beginSection(const std::string& name, std::size_t sectionNumber, std::size_t fileCount) = 0;
    // File number `fileNumber` (from 0) of the section begins; `name` is its destination's file name.
    virtual void beginFile(const std::string& name, std::size_t fileNumber) = 0;
};

enum class InstallationResult {
    completed,  // every file was dealt with (installed, kept or skipped as the user chose)
    stopped,    // a file stopped the run; the files before it stay installed and logged
};

class InstallationRun {
public:
    // Makes the destination directory, starts Uninstall.log in it (header and "[FILES]", and the
    // records of an earlier installation's log that it carries: earlier_logs.h) and tells
    // `progress` the run begins. Every message and question of the run goes to `prompt`.
    InstallationRun(SetupState& state, InstallProgress& progress, InstallPrompt& prompt);
    InstallationRun(const InstallationRun&) = delete;
    InstallationRun& operator=(const InstallationRun&) = delete;

    // Makes the program group when the user wants one, then installs the files of every section
    // that takes part, in script order, each section's files in script order.
    InstallationResult RunInstallation();

    // Records the Uninstall key, closes the log (written once more without the carried records
    // that the run wrote again) and enters the application under the key.
    void finish();

private:
    void prepareProgramGroup();
    void makeShortcut(const InstallFileEntry& entry, const std::string& target);

    SetupState& state_;
    InstallProgress& progress_;
    UninstallLog log_;
    std::string logPath_;
    std::string firstShortcutTarget_;  // the installed file the first shortcut made points to
    LogDate date_;
    std::vector<UninstallRecord> carried_;  // from an earlier installation's log, at its start
    Win32InstallPlatform platform_;
    InstallContext context_;
};

}  // namespace quillset
