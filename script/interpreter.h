// The statement loop: carries out the script's statements in file order, exactly once.
#pragma once

#include "script_reader.h"
#include "setup_host.h"
#include "setup_state.h"

namespace quillset {

enum class RunOutcome {
    runCompleted,    // every statement was carried out
    runEndedByPage,  // a page returned non-zero (Cancel confirmed, or it could not be shown)
    stopped,         // a fatal condition, reported to the user; the program ends with exitCode
};

struct RunResult {
    RunOutcome outcome;
    int exitCode;  // 0 unless stopped: 2 syntax error, 3 forbidden process
};

// Carries out the statements of `script`, which the caller has read, on `state`.
RunResult runStatements(const SetupScript& script, SetupState& state, SetupHost& host);

// The texts the run shows when it stops.
extern const char* const kSyntaxErrorText;
extern const char* const kSyntaxErrorCaption;
std::string forbiddenProcessText(const std::string& lowerCaseName);

}  // namespace quillset
