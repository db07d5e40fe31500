#include "setup_globals.h"

namespace quillset {

SetupState& setupState() {
    static SetupState state;
    return state;
}

}  // namespace quillset
