// The JSON document of `qscheck plan`: the outcome of a dry run and everything it declared.
#pragma once

#include <string>
#include <vector>

#include "interpreter.h"
#include "recording_host.h"

namespace quillset {

const char* outcomeName(RunOutcome outcome);

// The whole document, one member or record per line, ending in a line feed.
std::string planJson(const SetupState& state, const RunResult& result, const std::vector<HostEvent>& events);

}  // namespace quillset
