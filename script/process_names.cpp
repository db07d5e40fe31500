#include "process_names.h"

#include <algorithm>

namespace quillset {

void lowerCaseAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

std::string recordedProcessName(const char* fileName) {
    std::string name = fileName != nullptr ? fileName : "";
    lowerCaseAscii(name);
    const std::size_t backslash = name.rfind('\\');
    if (backslash != std::string::npos) name.erase(0, backslash + 1);
    return name;
}

bool findProcessName(const std::vector<std::string>& recorded, std::string& name) {
    lowerCaseAscii(name);
    return std::find(recorded.begin(), recorded.end(), name) != recorded.end();
}

void clearProcessNames(SetupState& state) {
    state.runningProcessNames.clear();
}

void recordProcessName(SetupState& state, const char* fileName) {
    state.runningProcessNames.push_back(recordedProcessName(fileName));
}

bool isRecordedProcess(const SetupState& state, std::string& name) {
    return findProcessName(state.runningProcessNames, name);
}

}  // namespace quillset
