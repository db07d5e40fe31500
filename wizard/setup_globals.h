// The program's one SetupState. Window, dialog and timer procedures reach it through setupState()
// and hand on the part they use; everything else is handed the state (or its part) by its caller.
#pragma once

#include "setup_state.h"

namespace quillset {

SetupState& setupState();

}  // namespace quillset
