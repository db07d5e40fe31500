// The program's one SetupState and the wizard's one Win32Session. Window, dialog and timer
// procedures reach them through these accessors and hand on the parts they use; everything else is
// handed the state (or its part) by its caller.
#pragma once

#include "setup_state.h"
#include "win32_session.h"

namespace quillset {

SetupState& setupState();
Win32Session& win32Session();

}  // namespace quillset
