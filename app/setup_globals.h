// The program's one SetupState. Window, dialog and timer procedures reach it through setupState().
#pragma once

#include "setup_state.h"

namespace quillset {

SetupState& setupState();

}  // namespace quillset
