// The statement loop: carries out the script's statements in file order, exactly once.
#pragma once

#include "script_reader.h"
#include "setup_exit_codes.h"
#include "setup_host.h"
#include "setup_state.h"

namespace quillset {

enum class RunOutcome {
    runCompleted,    // every statement was carried out
    runEndedByPage,  // a page did not end with Next (Cancel confirmed, a copy page whose run
                     // stopped, or a page that could not be shown)
    stopped,         // a fatal condition, reported to the user; the program ends with exitCode
};

struct RunResult {
    RunOutcome outcome;
    // normal, but syntaxError or forbiddenProcess when stopped, and installationStopped when a copy
    // page's run stopped
    SetupExitCode exitCode;
};

// Carries out the statements of `script`, which the caller has read, on `state`.
RunResult runStatements(const SetupScript& script, SetupState& state, SetupHost& host);

// A command the interpreter carries out, with the number of arguments it must have.
struct CommandSignature {
    const char* name;
    std::size_t argumentCount;
};

// Every command the interpreter knows: the page statements, then the others, in the order names are
// compared. Any other command is skipped without a word.
std::vector<CommandSignature> knownCommands();

// The known command of that name (exact comparison), or nullptr.
const CommandSignature* findKnownCommand(const std::string& name);

// The texts the run shows when it stops.
extern const char* const kSyntaxErrorText;
extern const char* const kSyntaxErrorCaption;
std::string forbiddenProcessText(const std::string& lowerCaseName);

}  // namespace quillset
