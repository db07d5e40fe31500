#include "setup_globals.h"

namespace quillset {

SetupState& setupState() {
    static SetupState state;
    return state;
}

Win32Session& win32Session() {
    static Win32Session session;
    return session;
}

}  // namespace quillset
