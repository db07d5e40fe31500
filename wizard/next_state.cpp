#include "next_state.h"

namespace quillset {

bool nextEnabled(bool destinationAccepted, const std::string& pageName, const std::vector<StoredStatement>& statements,
                 const std::vector<CustomControl>& controls, const ControlReader& read) {
    if (!destinationAccepted) return false;
    bool enabled = true;
    for (const StoredStatement& stored : statements) {
        const auto* state = std::get_if<DynamicState>(&stored);
        if (state == nullptr || state->pageName != pageName || state->kind != DynamicStateKind::control ||
            state->comparison == DynamicComparison::unknown)
            continue;
        for (const CustomControl& control : controls) {
            if (control.controlName != state->controlName) continue;
            const ControlReading reading = control.window != nullptr ? read(control) : ControlReading{};
            enabled = state->comparison == DynamicComparison::checkState ? reading.checkState == state->expectedCheckState
                                                                         : reading.text == state->expected;
        }
    }
    return enabled;
}

}  // namespace quillset
