#include "scenario_parser.h"

namespace quillset::robot {

Scenario parseScenario(const std::string& text) {
    Scenario scenario;
    std::size_t start = 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::size_t last = line.find_last_not_of(" \t");

        Step step;
        step.line = lineNumber;
        step.source = line.substr(first, last - first + 1);
        std::vector<std::string> words;
        std::string problem;
        if (splitWords(step.source, words, problem)) {
            step.name = words[0];
            step.args.assign(words.begin() + 1, words.end());
            problem = checkStep(step);
        }
        if (!problem.empty()) {
            scenario.error = "line " + std::to_string(lineNumber) + ": " + problem;
            return scenario;
        }
        scenario.steps.push_back(step);
    }
    return scenario;
}

}  // namespace quillset::robot
