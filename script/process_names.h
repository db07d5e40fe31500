// The table of running process names behind ForbidProcess: filled by the platform's process walk,
// one call per process or 16-bit task, then searched for the forbidden name.
#pragma once

#include <string>
#include <vector>

#include "setup_state.h"

namespace quillset {

// Lower-cases the ASCII letters A-Z only, as the process test does; other bytes stay.
void lowerCaseAscii(std::string& text);

// A process's file name as the table holds it: lower case, without directory.
std::string recordedProcessName(const char* fileName);

// Lower-cases `name` in place and tells whether it equals one of `recorded` exactly.
bool findProcessName(const std::vector<std::string>& recorded, std::string& name);

// Empties the table before a new walk.
void clearProcessNames(SetupState& state);

// Records one process. The table grows as needed, so a walk over more processes than any fixed
// table would hold still records every one of them.
void recordProcessName(SetupState& state, const char* fileName);

// Lower-cases `name` in place and tells whether it equals a recorded name exactly.
bool isRecordedProcess(const SetupState& state, std::string& name);

}  // namespace quillset
