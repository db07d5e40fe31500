// Reading robot scenarios: a file of steps, one a line, each checked against the step table
// (step_table.h) before anything runs. Portable (no <windows.h>), so it is unit tested natively.
#pragma once

#include <string>
#include <vector>

#include "scenario_words.h"
#include "step_table.h"

namespace quillset::robot {

struct Scenario {
    std::vector<Step> steps;
    std::string error;               // empty when every line was understood
};

// Reads a whole scenario. Lines whose first non-blank character is # and blank lines are skipped.
// Every step is checked against the step table (name, argument count, numbers, key and answer
// names, control references and the names they use); the first problem ends reading with `error`
// naming the line.
Scenario parseScenario(const std::string& text);

}  // namespace quillset::robot
