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
        for (std::size_t control = 0; control < controls.size(); ++control) {
            if (controls[control].controlName != state->controlName) continue;
            const ControlReading reading = read(control);
            enabled = state->comparison == DynamicComparison::checkState ? reading.checkState == state->expectedCheckState
                                                                         : reading.text == state->expected;
        }
    }
    return enabled;
}

}  // namespace quillset
