#include "next_state.h"

#include "script_number.h"

namespace quillset {

bool nextEnabled(bool destinationAccepted, const std::string& pageName, const std::vector<StoredStatement>& statements,
                 const std::vector<CustomControl>& controls, const ControlReader& read) {
    if (!destinationAccepted) return false;
    bool enabled = true;
    for (const StoredStatement& state : statements) {
        if (state.command != "SetNextDynamicState" || state.arguments.size() != 5 || state.arguments[0] != pageName ||
            state.arguments[1] != "CONTROL")
            continue;
        const std::string& comparison = state.arguments[3];
        const bool byValue = comparison == "VALUE";
        if (!byValue && comparison != "TEXT") continue;
        for (const CustomControl& control : controls) {
            if (control.controlName != state.arguments[2]) continue;
            const ControlReading reading = control.window != nullptr ? read(control) : ControlReading{};
            enabled = byValue ? reading.checkState == scriptNumber(state.arguments[4]) : reading.text == state.arguments[4];
        }
    }
    return enabled;
}

}  // namespace quillset
