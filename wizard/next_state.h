// Whether a page's Next button is enabled, from the script's dynamic states: portable, so that the
// rules are tested without a window.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "setup_state.h"

namespace quillset {

// What a custom control shows at the moment: its check state and its text.
struct ControlReading {
    int checkState = 0;  // 0 unchecked, 1 checked, 2 indeterminate
    std::string text;
};
// Reads the control at this index of the list; one that does not exist (its page is not open)
// reads as unchecked and empty, the default ControlReading.
using ControlReader = std::function<ControlReading(std::size_t control)>;

// Next is disabled while the destination is not accepted. Otherwise every dynamic state of
// `pageName`, in script order, decides for each control of its name, in list order (by check
// state or by text); the last such pair decides, and with none Next is enabled. States of kind
// VARIABLE and unknown kinds or comparisons decide nothing.
bool nextEnabled(bool destinationAccepted, const std::string& pageName, const std::vector<StoredStatement>& statements,
                 const std::vector<CustomControl>& controls, const ControlReader& read);

}  // namespace quillset
