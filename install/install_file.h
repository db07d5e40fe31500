// Installing one declared file: the shared way (the directory the platform recommends, version and
// language checks, self-registration), the non-shared way (exactly the entry's destination,
// overwritten only when the user agrees), split files and files in use. Portable: the platform is
// reached through InstallPlatform and the user through InstallPrompt, so every way through it is
// tested natively.
#pragma once

#include <string>

#include "install_platform.h"
#include "install_prompt.h"
#include "setup_state.h"
#include "uninstall_log.h"
#include "variables.h"

namespace quillset {

// What installing a file works with besides the entry itself.
struct InstallContext {
    VariableTable& variables;  // DP and WINPATH, and the references in the destinations
    InstallRun& answers;       // the run's "all" answers: they hold for every later file
    UninstallLog& log;
    InstallPlatform& platform;
    InstallPrompt& prompt;
};

enum class FileStep {
    next,     // go on with the next file (installed, kept or skipped as the user chose)
    stopRun,  // the user or a failure stopped the run
};

struct FileStepResult {
    FileStep step = FileStep::next;
    // The entry's destination as the run names it, where its shortcut points (also when the user
    // kept an existing file, and for a shared file the platform placed elsewhere). Empty after a
    // stop and for a part before the last.
    std::string installedPath;
};

// The entry's destination as the run names it: its variables substituted, pairs of backslashes
// collapsed. The join file of a split file is named after it.
std::string runDestinationOf(const InstallFileEntry& entry, VariableTable& variables);

FileStepResult installFileEntry(InstallContext& context, const InstallFileEntry& entry);

}  // namespace quillset
