#include "process_names.h"

namespace quillset {

void lowerCaseAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

void clearProcessNames(SetupState& state) {
    state.runningProcessNames.clear();
    state.runningProcessCount = 0;
}

void recordProcessName(SetupState& state, const char* fileName) {
    std::string name = fileName != nullptr ? fileName : "";
    lowerCaseAscii(name);
    const std::size_t backslash = name.rfind('\\');
    if (backslash != std::string::npos) name.erase(0, backslash + 1);
    state.runningProcessNames.push_back(name);
    state.runningProcessCount = static_cast<int>(state.runningProcessNames.size());
}

bool isRecordedProcess(const SetupState& state, std::string& name) {
    lowerCaseAscii(name);
    for (int i = 0; i < state.runningProcessCount; ++i)
        if (state.runningProcessNames[static_cast<std::size_t>(i)] == name) return true;
    return false;
}

}  // namespace quillset
